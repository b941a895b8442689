// Attributes, times, existence, moves, directories and drives on Windows paths.

#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/fs/dos_attributes.h"
#include "platform/fs/file.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "tests/platform/fs_test_support.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using qmtest::ModeOf;
using qmtest::ReadFileText;

class FileOps : public machine_test::FsTest {
 protected:
  // Whether the temporary root's file system keeps user extended attributes.
  bool XattrsWork() {
    const fs::path probe = MakeFile("probe");
    const bool works = setxattr(probe.c_str(), "user.probe", "1", 1, 0) == 0;
    fs::remove(probe);
    return works;
  }

  std::string StoredAttrib(const fs::path& host) {
    char value[64];
    const ssize_t size = getxattr(host.c_str(), "user.DOSATTRIB", value, sizeof value);
    return size < 0 ? "(none)" : std::string(value, static_cast<std::size_t>(size));
  }
};

class UmaskScope {
 public:
  explicit UmaskScope(mode_t mask) : saved_(umask(mask)) {}
  ~UmaskScope() { umask(saved_); }

 private:
  mode_t saved_;
};

TEST_F(FileOps, ReadOnlyIsTheWriteBits) {
  const UmaskScope mask(022);
  const fs::path host = MakeFile("Doc.txt");
  fs::permissions(host, fs::perms(0664));
  EXPECT_EQ(GetFileAttributes("C:\\DOC.TXT"), 0u);  // nothing invented, no archive bit

  ASSERT_TRUE(SetFileAttributes("C:\\DOC.TXT", kAttrReadOnly));
  EXPECT_EQ(ModeOf(host), 0444u);
  EXPECT_EQ(GetFileAttributes("C:\\DOC.TXT"), kAttrReadOnly);
  EXPECT_FALSE(DeleteFile("C:\\DOC.TXT"));
  EXPECT_EQ(errno, EACCES);
  EXPECT_TRUE(fs::exists(host));

  // Clearing gives the owner the write bit back and group and other what the umask allows.
  ASSERT_TRUE(SetFileAttributes("C:\\DOC.TXT", 0));
  EXPECT_EQ(ModeOf(host), 0644u);
  ASSERT_TRUE(SetFileAttributes("C:\\DOC.TXT", kAttrReadOnly));
  {
    const UmaskScope groupWrites(002);
    ASSERT_TRUE(SetFileAttributes("C:\\DOC.TXT", 0));
  }
  EXPECT_EQ(ModeOf(host), 0664u);
  // A file that is already writable keeps its bits.
  ASSERT_TRUE(SetFileAttributes("C:\\DOC.TXT", 0));
  EXPECT_EQ(ModeOf(host), 0664u);
  EXPECT_TRUE(DeleteFile("C:\\doc.txt"));
  EXPECT_FALSE(fs::exists(host));
}

TEST_F(FileOps, HiddenSystemAndArchiveLiveInTheExtendedAttribute) {
  if (!XattrsWork()) GTEST_SKIP() << "no user extended attributes here";
  const fs::path host = MakeFile("Sys.dat");
  ASSERT_TRUE(SetFileAttributes("C:\\SYS.DAT", kAttrHidden | kAttrSystem | kAttrArchive | kAttrReadOnly));
  EXPECT_EQ(GetFileAttributes("C:\\SYS.DAT"), kAttrHidden | kAttrSystem | kAttrArchive | kAttrReadOnly);
  EXPECT_EQ(StoredAttrib(host), "0x26");

  // Changing only the other bits of a read-only file works too.
  ASSERT_TRUE(SetFileAttributes("C:\\SYS.DAT", kAttrArchive | kAttrReadOnly));
  EXPECT_EQ(GetFileAttributes("C:\\SYS.DAT"), kAttrArchive | kAttrReadOnly);
  EXPECT_EQ(ModeOf(host) & 0222, 0u);

  ASSERT_TRUE(SetFileAttributes("C:\\SYS.DAT", 0));
  EXPECT_EQ(GetFileAttributes("C:\\SYS.DAT"), 0u);
  EXPECT_EQ(StoredAttrib(host), "(none)");

  // Values other tools store: directory bits are the host's to say, binary forms start with the text.
  ASSERT_EQ(setxattr(host.c_str(), "user.DOSATTRIB", "0x12", 4, 0), 0);
  EXPECT_EQ(GetFileAttributes("C:\\SYS.DAT"), kAttrHidden);
  const char binary[] = "0x20\0\x03\x00\x11\xff";
  ASSERT_EQ(setxattr(host.c_str(), "user.DOSATTRIB", binary, sizeof binary, 0), 0);
  EXPECT_EQ(GetFileAttributes("C:\\SYS.DAT"), kAttrArchive);
  ASSERT_EQ(setxattr(host.c_str(), "user.DOSATTRIB", "junk", 4, 0), 0);
  EXPECT_EQ(GetFileAttributes("C:\\SYS.DAT"), 0u);

  ASSERT_TRUE(SetFileAttributes("C:\\WINDOWS", kAttrHidden));
  EXPECT_EQ(GetFileAttributes("C:\\WINDOWS"), kAttrDirectory | kAttrHidden);
}

TEST(DosAttribText, ParsesTheLeadingHex) {
  EXPECT_EQ(ParseDosAttribText("0x20"), 0x20u);
  EXPECT_EQ(ParseDosAttribText("0X2f"), 0x2Fu);
  EXPECT_EQ(ParseDosAttribText(std::string_view("0x1\0binary", 10)), 0x1u);
  EXPECT_EQ(ParseDosAttribText("0x123456789"), 0x12345678u);  // never more than 32 bits
  EXPECT_EQ(ParseDosAttribText("0x"), std::nullopt);
  EXPECT_EQ(ParseDosAttribText("20"), std::nullopt);
  EXPECT_EQ(ParseDosAttribText(""), std::nullopt);
}

TEST_F(FileOps, StatusTimesAndAttributesRoundTrip) {
  MakeFile("App/Tool.exe", "12345");
  FileStatus status;
  ASSERT_TRUE(GetFileStatus("c:\\app\\.\\TOOL.EXE", status));
  EXPECT_EQ(status.size, 5u);
  EXPECT_EQ(status.fullName, "C:\\App\\Tool.exe");  // spelled as stored
  EXPECT_EQ(status.attributes, 0u);
  EXPECT_GT(status.creationTime, 0);

  ASSERT_TRUE(SetLastWriteTime("C:\\APP\\TOOL.EXE", 1234567890));
  ASSERT_TRUE(GetFileStatus("C:\\APP\\TOOL.EXE", status));
  EXPECT_EQ(status.lastWriteTime, 1234567890);

  // Beyond 2038 and before 1970: the API is 64-bit.
  ASSERT_TRUE(SetLastWriteTime("C:\\APP\\TOOL.EXE", 4102444800));
  ASSERT_TRUE(GetFileStatus("C:\\APP\\TOOL.EXE", status));
  EXPECT_EQ(status.lastWriteTime, 4102444800);
  ASSERT_TRUE(SetLastWriteTime("C:\\APP\\TOOL.EXE", -86400));
  ASSERT_TRUE(GetFileStatus("C:\\APP\\TOOL.EXE", status));
  EXPECT_EQ(status.lastWriteTime, -86400);

  FileStatus wanted;
  wanted.lastWriteTime = 946684800;
  wanted.lastAccessTime = 0;  // left as it is
  wanted.attributes = kAttrReadOnly;
  const int64_t accessBefore = status.lastAccessTime;
  ASSERT_TRUE(SetFileStatus("C:\\APP\\TOOL.EXE", wanted));
  ASSERT_TRUE(GetFileStatus("C:\\APP\\TOOL.EXE", status));
  EXPECT_EQ(status.lastWriteTime, 946684800);
  EXPECT_EQ(status.lastAccessTime, accessBefore);
  EXPECT_EQ(status.attributes & kAttrReadOnly, kAttrReadOnly);
  EXPECT_EQ(ModeOf(C() / "App" / "Tool.exe") & 0222, 0u);

  ASSERT_TRUE(GetFileStatus("C:\\APP", status));
  EXPECT_EQ(status.attributes & kAttrDirectory, kAttrDirectory);
  EXPECT_FALSE(GetFileStatus("C:\\APP\\MISSING.EXE", status));
  EXPECT_EQ(GetFileAttributes("C:\\APP\\MISSING.EXE"), kInvalidAttributes);
  EXPECT_FALSE(SetLastWriteTime("C:\\APP\\MISSING.EXE", 1));
}

TEST_F(FileOps, ExistenceAndDeletion) {
  MakeFile("A.TXT");
  EXPECT_TRUE(FileExists("C:\\a.txt"));
  EXPECT_TRUE(FileExists("C:\\WINDOWS"));
  EXPECT_FALSE(FileExists("C:\\B.TXT"));
  EXPECT_FALSE(FileExists("Q:\\A.TXT"));

  EXPECT_FALSE(DeleteFile("C:\\WINDOWS\\TEMP"));  // never a directory
  EXPECT_EQ(errno, EISDIR);
  EXPECT_TRUE(fs::is_directory(C() / "WINDOWS" / "TEMP"));
  EXPECT_FALSE(DeleteFile("C:\\B.TXT"));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_TRUE(DeleteFile("C:\\A.TXT"));
  EXPECT_FALSE(FileExists("C:\\A.TXT"));
}

TEST_F(FileOps, MoveNeverReplacesItsTarget) {
  MakeFile("From.txt", "from");
  MakeFile("To.txt", "to");
  EXPECT_FALSE(MoveFile("C:\\FROM.TXT", "C:\\TO.TXT"));
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(ReadFileText(C() / "From.txt"), "from");
  EXPECT_EQ(ReadFileText(C() / "To.txt"), "to");

  EXPECT_TRUE(MoveFile("C:\\FROM.TXT", "C:\\WINDOWS\\Moved.txt"));
  EXPECT_EQ(ReadFileText(C() / "WINDOWS" / "Moved.txt"), "from");
  EXPECT_FALSE(fs::exists(C() / "From.txt"));
  EXPECT_FALSE(MoveFile("C:\\FROM.TXT", "C:\\X.TXT"));
  EXPECT_EQ(errno, ENOENT);

  // Directories move too, with what they hold.
  MakeFile("Tree/Leaf.txt", "leaf");
  EXPECT_TRUE(MoveFile("C:\\TREE", "C:\\WINDOWS\\Tree2"));
  EXPECT_EQ(ReadFileText(C() / "WINDOWS" / "Tree2" / "Leaf.txt"), "leaf");
  EXPECT_FALSE(MoveFile("C:\\WINDOWS\\TREE2", "C:\\WINDOWS\\SYSTEM"));
  EXPECT_EQ(errno, EEXIST);
}

TEST_F(FileOps, MoveToAnotherSpellingRenamesTheFile) {
  MakeFile("readme.txt", "text");
  EXPECT_TRUE(MoveFile("C:\\readme.txt", "C:\\README.TXT"));
  EXPECT_EQ(ReadFileText(C() / "README.TXT"), "text");
  EXPECT_FALSE(fs::exists(C() / "readme.txt"));
  EXPECT_TRUE(MoveFile("C:\\README.TXT", "C:\\readme.txt\\..\\README.TXT"));  // the same name: nothing to do
  EXPECT_EQ(ReadFileText(C() / "README.TXT"), "text");
}

TEST_F(FileOps, MoveAcrossHostFileSystemsCopiesTheFile) {
  struct stat tmpInfo;
  struct stat shmInfo;
  if (stat(C().c_str(), &tmpInfo) != 0 || stat("/dev/shm", &shmInfo) != 0 || tmpInfo.st_dev == shmInfo.st_dev) {
    GTEST_SKIP() << "no second file system at /dev/shm";
  }
  const fs::path host = MakeFile("Cross.txt", "across");
  ASSERT_TRUE(SetLastWriteTime("C:\\CROSS.TXT", 1000000000));
  std::string target = "/dev/shm/qm-move-XXXXXX";
  ASSERT_NE(mkdtemp(target.data()), nullptr);
  const std::string windowsTarget = MapToWindows(fs::path(target) / "Cross.txt");

  EXPECT_TRUE(MoveFile("C:\\CROSS.TXT", windowsTarget));
  EXPECT_FALSE(fs::exists(host));
  EXPECT_EQ(ReadFileText(fs::path(target) / "Cross.txt"), "across");
  FileStatus status;
  EXPECT_TRUE(GetFileStatus(windowsTarget, status));
  EXPECT_EQ(status.lastWriteTime, 1000000000);

  MakeFile("Cross.txt", "second");
  EXPECT_FALSE(MoveFile("C:\\CROSS.TXT", windowsTarget));  // still no replacing
  EXPECT_EQ(errno, EEXIST);
  EXPECT_EQ(ReadFileText(fs::path(target) / "Cross.txt"), "across");
  EXPECT_TRUE(fs::exists(host));
  fs::remove_all(target);
}

TEST_F(FileOps, DirectoriesAreCreatedAndRemovedOneLevelAtATime) {
  const UmaskScope mask(027);
  EXPECT_TRUE(CreateDirectory("C:\\WINDOWS\\NewDir"));
  EXPECT_TRUE(fs::is_directory(C() / "WINDOWS" / "NewDir"));
  EXPECT_EQ(ModeOf(C() / "WINDOWS" / "NewDir"), 0750u);
  EXPECT_FALSE(CreateDirectory("C:\\windows\\newdir"));
  EXPECT_EQ(errno, EEXIST);
  EXPECT_FALSE(CreateDirectory("C:\\TOP\\MID\\LOW"));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(fs::exists(C() / "TOP"));

  MakeFile("WINDOWS/NewDir/file");
  EXPECT_FALSE(RemoveDirectory("C:\\WINDOWS\\NEWDIR"));  // not empty
  fs::remove(C() / "WINDOWS" / "NewDir" / "file");
  EXPECT_TRUE(RemoveDirectory("C:\\WINDOWS\\NEWDIR\\"));
  EXPECT_FALSE(fs::exists(C() / "WINDOWS" / "NewDir"));

  // The current directory stays, as on Windows.
  ASSERT_TRUE(SetCurrentDirectory("C:\\WINDOWS\\TEMP"));
  EXPECT_FALSE(RemoveDirectory("C:\\WINDOWS\\TEMP"));
  EXPECT_EQ(errno, EBUSY);
}

TEST_F(FileOps, CurrentDirectoryIsTheHostOne) {
  ASSERT_TRUE(SetCurrentDirectory("c:\\windows\\system"));
  EXPECT_EQ(GetCurrentDirectory(), "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(fs::current_path(), C() / "WINDOWS" / "SYSTEM");
  EXPECT_FALSE(SetCurrentDirectory("C:\\MISSING"));
  EXPECT_EQ(GetCurrentDirectory(), "C:\\WINDOWS\\SYSTEM");
  ASSERT_TRUE(SetCurrentDirectory(".."));
  EXPECT_EQ(GetCurrentDirectory(), "C:\\WINDOWS");
}

class Drives : public machine_test::FsTest {
 protected:
  static MachineConfig WithDrives() {
    MachineConfig config = MachineConfig::Defaults(PlatformKind::Win95);
    config.drives.push_back(ParseDriveSpec('A', "removable,floppy,free=1457664,total=1457664"));
    config.drives.push_back(ParseDriveSpec('D', "fixed,big,free=10000000000,total=20000000000"));
    config.drives.push_back(ParseDriveSpec('E', "cdrom,cd,free=0"));
    return config;
  }
  Drives() : FsTest(WithDrives()) {}
};

TEST_F(Drives, TypesComeFromTheDriveTable) {
  EXPECT_EQ(GetDriveType("C:\\"), DriveType::Fixed);
  EXPECT_EQ(GetDriveType("c:\\"), DriveType::Fixed);
  EXPECT_EQ(GetDriveType("C:"), DriveType::Fixed);
  EXPECT_EQ(GetDriveType("a:\\"), DriveType::Removable);
  EXPECT_EQ(GetDriveType("E:/"), DriveType::CdRom);
  EXPECT_EQ(GetDriveType("Z:\\"), DriveType::Fixed);
  EXPECT_EQ(GetDriveType("B:\\"), DriveType::Unknown);
  EXPECT_EQ(GetDriveType("C:\\WINDOWS"), DriveType::Unknown);
  EXPECT_EQ(GetDriveType("CC:\\"), DriveType::Unknown);
  EXPECT_EQ(GetDriveType(""), DriveType::Unknown);
  EXPECT_EQ(GetDriveType("1:\\"), DriveType::Unknown);
}

TEST_F(Drives, FreeSpaceOverridesAreExactAndIndependent) {
  DiskSpace space;
  ASSERT_TRUE(GetDiskFreeSpace("D:\\", space));
  EXPECT_EQ(space.freeBytes, 10000000000u);
  EXPECT_EQ(space.totalBytes, 20000000000u);
  ASSERT_TRUE(GetDiskFreeSpace("a:\\", space));
  EXPECT_EQ(space.freeBytes, 1457664u);
  EXPECT_EQ(space.totalBytes, 1457664u);

  // Only free given: the total is the host's.
  ASSERT_TRUE(GetDiskFreeSpace("E:\\", space));
  EXPECT_EQ(space.freeBytes, 0u);
  DiskSpace host;
  ASSERT_TRUE(GetDiskFreeSpace("C:\\", host));
  EXPECT_GT(host.totalBytes, 0u);
  EXPECT_LE(host.freeBytes, host.totalBytes);
  EXPECT_EQ(space.totalBytes, host.totalBytes);  // same host file system

  EXPECT_FALSE(GetDiskFreeSpace("B:\\", space));
  EXPECT_EQ(errno, ENODEV);
  EXPECT_FALSE(GetDiskFreeSpace("C:\\WINDOWS", space));
}

// Names are found ignoring case whoever changed the directory and however soon
// after its listing was last read: the platform's own creates, moves and
// deletes, and changes made behind its back.
TEST_F(FileOps, NamesAreFoundIgnoringCaseThroughEveryKindOfChange) {
  ASSERT_TRUE(CreateDirectory("C:\\APP"));  // made here, so its listing starts empty and trusted
  const auto spelled = [&](const char* path) {
    std::filesystem::path host;
    EXPECT_TRUE(MapToHost(path, host));
    return host.filename().string();
  };
  EXPECT_FALSE(FileExists("C:\\APP\\one.txt"));
  File file;
  file.Open("C:\\APP\\One.Txt", open_mode::kWrite | open_mode::kCreate);
  file.Close();
  EXPECT_EQ(spelled("C:\\APP\\ONE.TXT"), "One.Txt");
  EXPECT_TRUE(MoveFile("C:\\APP\\ONE.TXT", "C:\\APP\\Two.Txt"));
  EXPECT_EQ(spelled("C:\\APP\\two.txt"), "Two.Txt");
  EXPECT_FALSE(FileExists("C:\\APP\\one.txt"));
  EXPECT_TRUE(DeleteFile("C:\\APP\\TWO.TXT"));
  EXPECT_FALSE(FileExists("C:\\APP\\two.txt"));

  // Behind the platform's back, both at once and once the listing has settled.
  MakeFile("APP/Three.Txt");
  EXPECT_EQ(spelled("C:\\APP\\THREE.TXT"), "Three.Txt");
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_FALSE(FileExists("C:\\APP\\four.txt"));  // read and kept
  MakeFile("APP/Four.Txt");
  std::filesystem::remove(C() / "APP" / "Three.Txt");
  EXPECT_EQ(spelled("C:\\APP\\FOUR.TXT"), "Four.Txt");
  EXPECT_FALSE(FileExists("C:\\APP\\three.txt"));
}


}  // namespace
}  // namespace platform
