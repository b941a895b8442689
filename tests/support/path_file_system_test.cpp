// CPath against an emulated machine: special directories, file queries, unique
// names, searches and directory creation.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <cstdio>
#include <regex>
#include <set>

#include "platform/core/crt_random.h"
#include "platform/core/exceptions.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "support/path.h"
#include "tests/support/machine_fixture.h"

namespace {

namespace fs = std::filesystem;
using qmtest::WriteFileText;

using PathFileSystem = MachineTest;

TEST_F(PathFileSystem, SpecialDirectoriesGiveDriveAndDirectoryOnly) {
  EXPECT_EQ(CPath(SpecialDirectory::Windows).Text(), "C:\\WINDOWS\\");
  EXPECT_EQ(CPath(SpecialDirectory::System).Text(), "C:\\WINDOWS\\SYSTEM\\");
  EXPECT_EQ(CPath(SpecialDirectory::Temporary).Text(), "C:\\WINDOWS\\TEMP\\");

  ASSERT_TRUE(platform::SetCurrentDirectory("C:\\WINDOWS\\SYSTEM"));
  EXPECT_EQ(CPath(SpecialDirectory::Current).Text(), "C:\\WINDOWS\\SYSTEM\\");
  ASSERT_TRUE(platform::SetCurrentDirectory("C:\\"));
  EXPECT_EQ(CPath(SpecialDirectory::Current).Text(), "C:\\");

  WriteFileText(OnC("DISK1/SETUP.EXE"), "MZ");
  platform::SetProgramArgv0(OnC("DISK1/SETUP.EXE").c_str());
  EXPECT_EQ(CPath(SpecialDirectory::Program).Text(), "C:\\DISK1\\");

  EXPECT_THROW(CPath(static_cast<SpecialDirectory>(5)), std::invalid_argument);
}

TEST_F(PathFileSystem, QueriesFindFilesIgnoringCase) {
  WriteFileText(OnC("APP/README.TXT"), std::string(1234, 'x'));
  const CPath path("c:\\app\\readme.txt");
  EXPECT_TRUE(path.Exists());
  EXPECT_EQ(path.GetSize(), 1234u);
  EXPECT_FALSE(CPath("C:\\APP").Exists()) << "a directory is not a file";
  EXPECT_FALSE(CPath("C:\\APP\\MISSING.TXT").Exists());
  EXPECT_EQ(CPath("C:\\APP\\MISSING.TXT").GetSize(), 0u);
  EXPECT_EQ(CPath("C:\\APP\\MISSING.TXT").GetModifyTime(), 0u);
}

TEST_F(PathFileSystem, ModifyTimeIsAnUnsigned32BitCount) {
  WriteFileText(OnC("OLD.DAT"), "a");
  WriteFileText(OnC("LATE.DAT"), "b");
  const timeval old[2] = {{946684800, 0}, {946684800, 0}};       // 2000-01-01
  const timeval late[2] = {{3000000000, 0}, {3000000000, 0}};    // 2065: above the signed 32-bit range
  ASSERT_EQ(::utimes(OnC("OLD.DAT").c_str(), old), 0);
  ASSERT_EQ(::utimes(OnC("LATE.DAT").c_str(), late), 0);
  EXPECT_EQ(CPath("C:\\OLD.DAT").GetModifyTime(), 946684800u);
  EXPECT_EQ(CPath("C:\\LATE.DAT").GetModifyTime(), 3000000000u);
}

TEST_F(PathFileSystem, DeleteAndRenameReportSuccess) {
  WriteFileText(OnC("APP/A.TXT"), "a");
  WriteFileText(OnC("APP/TAKEN.TXT"), "t");
  fs::create_directories(OnC("OTHER"));

  EXPECT_FALSE(CPath("C:\\APP\\A.TXT").Rename("C:\\APP\\TAKEN.TXT")) << "the target exists";
  EXPECT_TRUE(CPath("C:\\APP\\A.TXT").Rename("C:\\OTHER\\B.TXT"));
  EXPECT_TRUE(fs::exists(OnC("OTHER/B.TXT")));
  EXPECT_FALSE(fs::exists(OnC("APP/A.TXT")));

  EXPECT_TRUE(CPath("C:\\OTHER\\b.txt").Delete());
  EXPECT_FALSE(fs::exists(OnC("OTHER/B.TXT")));
  EXPECT_FALSE(CPath("C:\\OTHER\\B.TXT").Delete());
}

// The names MakeUniqueName draws after Srand(seed): five values per draw, the
// first two printed as the name.
std::vector<std::string> ExpectedNames(unsigned seed, int count) {
  platform::Srand(seed);
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    int v[5];
    for (int& value : v) value = platform::Rand();
    char text[16];
    std::snprintf(text, sizeof text, "%.4x%.4x", static_cast<unsigned>(v[0]), static_cast<unsigned>(v[1]));
    names.emplace_back(text);
  }
  return names;
}

TEST_F(PathFileSystem, UniqueNameIsEightHexDigitsAndKeepsDirectoryAndExtension) {
  const std::vector<std::string> expected = ExpectedNames(7, 2);
  platform::Srand(7);
  CPath path("C:\\APP\\README.TXT");
  ASSERT_TRUE(path.MakeUniqueName(false, 1));
  EXPECT_TRUE(std::regex_match(path.GetName(), std::regex("[0-9a-f]{8}"))) << path.Text();
  EXPECT_EQ(path.GetName(), expected[0]);
  EXPECT_EQ(path.GetExtension(), "TXT");
  EXPECT_EQ(path.GetDriveAndDirectory(), "C:\\APP");
  ASSERT_TRUE(path.MakeUniqueName(false, 1));
  EXPECT_EQ(path.GetName(), expected[1]) << "each draw takes five values";
}

TEST_F(PathFileSystem, UniqueNameDrawsAgainWhileTheNameIsTakenUpToTheBound) {
  const std::vector<std::string> expected = ExpectedNames(11, 3);
  // Taken in another letter case and, for the second draw, by a directory.
  std::string first = expected[0] + ".TXT";
  for (char& c : first) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  WriteFileText(OnC("APP/" + first), "taken");
  fs::create_directories(OnC("APP/" + expected[1] + ".TXT"));

  platform::Srand(11);
  CPath path("C:\\APP\\README.TXT");
  ASSERT_TRUE(path.MakeUniqueName(true, 1000));
  EXPECT_EQ(path.Text(), "C:\\APP\\" + expected[2] + ".TXT");

  platform::Srand(11);
  EXPECT_FALSE(path.MakeUniqueName(true, 2));
  EXPECT_EQ(path.GetName(), expected[1]) << "the last draw stays set";

  platform::Srand(11);
  EXPECT_FALSE(path.MakeUniqueName(true, 0)) << "at least one draw is made";
  EXPECT_EQ(path.GetName(), expected[0]);
}

TEST_F(PathFileSystem, FindFirstAndNextNameEveryMatchingEntry) {
  WriteFileText(OnC("APP/A.TXT"), "a");
  WriteFileText(OnC("APP/b.txt"), "b");
  WriteFileText(OnC("APP/C.DAT"), "c");
  fs::create_directories(OnC("APP/SUB"));

  CPath files("C:\\APP\\*.TXT");
  std::set<std::string> found;
  for (bool more = files.FindFirst(0); more; more = files.FindNext()) found.insert(files.Text());
  EXPECT_EQ(found, (std::set<std::string>{"C:\\APP\\A.TXT", "C:\\APP\\b.txt"}));
  EXPECT_FALSE(files.FindNext()) << "an ended search stays ended";

  // Directories come back as directory paths, each built from the searched directory.
  CPath directories("C:\\APP\\*.*");
  found.clear();
  for (bool more = directories.FindFirst(platform::kAttrDirectory); more; more = directories.FindNext()) {
    found.insert(directories.Text());
  }
  EXPECT_EQ(found, (std::set<std::string>{"C:\\APP\\.\\", "C:\\APP\\..\\", "C:\\APP\\SUB\\"}));

  EXPECT_FALSE(CPath("C:\\APP\\*.BIN").FindFirst(0));
  EXPECT_FALSE(CPath("C:\\APP\\*.*").FindNext()) << "no search was started";
}

// A mask with the directory bit and others also finds files; a file found so
// keeps its name instead of becoming a directory path.
TEST_F(PathFileSystem, ASearchForDirectoriesAndFilesNamesEachAsWhatItIs) {
  WriteFileText(OnC("APP/LOCKED.TXT"), "a");
  ASSERT_TRUE(platform::SetFileAttributes("C:\\APP\\LOCKED.TXT", platform::kAttrReadOnly));
  fs::create_directories(OnC("APP/SUB"));
  CPath path("C:\\APP\\*.*");
  std::set<std::string> found;
  for (bool more = path.FindFirst(platform::kAttrDirectory | platform::kAttrReadOnly); more; more = path.FindNext()) {
    found.insert(path.Text());
  }
  EXPECT_EQ(found, (std::set<std::string>{"C:\\APP\\.\\", "C:\\APP\\..\\", "C:\\APP\\LOCKED.TXT",
                                          "C:\\APP\\SUB\\"}));
  // A search of a drive's current directory names what it finds there.
  ASSERT_TRUE(CPath("C:\\APP\\").ChangeToDirectory());
  CPath here("C:S*.*");
  ASSERT_TRUE(here.FindFirst(platform::kAttrDirectory));
  EXPECT_EQ(here.Text(), "C:SUB\\");
}

TEST_F(PathFileSystem, ACopyDoesNotShareTheOpenSearch) {
  WriteFileText(OnC("APP/A.TXT"), "a");
  WriteFileText(OnC("APP/B.TXT"), "b");
  CPath path("C:\\APP\\*.TXT");
  ASSERT_TRUE(path.FindFirst(0));
  CPath copy(path);
  EXPECT_EQ(copy.Text(), path.Text());
  EXPECT_FALSE(copy.FindNext());
  EXPECT_TRUE(path.FindNext());
  path.SetPath("C:\\APP\\*.TXT");  // reusing the object ends its search
  EXPECT_FALSE(path.FindNext());
}

TEST_F(PathFileSystem, HasSubdirectoryCountsDotEntriesOutsideTheRoot) {
  fs::create_directories(OnC("APP/SUB"));
  fs::create_directories(OnC("EMPTY"));
  EXPECT_TRUE(CPath("C:\\APP\\").HasSubdirectory());
  EXPECT_TRUE(CPath("C:\\EMPTY\\X.TXT").HasSubdirectory()) << "\".\" and \"..\" count";
  EXPECT_TRUE(CPath("C:\\").HasSubdirectory()) << "C:\\WINDOWS";
  EXPECT_FALSE(CPath("D:\\").HasSubdirectory()) << "an empty root has no dot entries";
  EXPECT_FALSE(CPath("C:\\MISSING\\").HasSubdirectory());
}

TEST_F(PathFileSystem, ChangeToDirectoryIsTheExistenceTest) {
  fs::create_directories(OnC("APP"));
  EXPECT_TRUE(CPath("c:\\app\\README.TXT").ChangeToDirectory());
  EXPECT_EQ(platform::GetCurrentDirectory(), "C:\\APP");
  EXPECT_FALSE(CPath("C:\\MISSING\\README.TXT").ChangeToDirectory());
  EXPECT_FALSE(CPath("Q:\\").ChangeToDirectory());
}

TEST_F(PathFileSystem, CreateDirectoryWithParentsCreatesEachMissingLevel) {
  fs::create_directories(OnD("TOP"));
  EXPECT_FALSE(CPath("D:\\TOP\\MID\\LOW\\").CreateDirectory(false));
  EXPECT_FALSE(fs::exists(OnD("TOP/MID")));

  EXPECT_TRUE(CPath("D:\\TOP\\MID\\LOW\\").CreateDirectory(true));
  EXPECT_TRUE(fs::is_directory(OnD("TOP/MID/LOW")));

  EXPECT_TRUE(CPath("D:\\TOP\\MID\\LOW\\FILE.TXT").CreateDirectory(false)) << "an existing directory is success";
  // Existing levels are found ignoring case, not created a second time.
  EXPECT_TRUE(CPath("d:\\top\\mid\\NEW\\").CreateDirectory(true));
  EXPECT_TRUE(fs::is_directory(OnD("TOP/MID/NEW")));
  EXPECT_FALSE(fs::exists(OnD("top")));

  EXPECT_FALSE(CPath("Q:\\NOWHERE\\").CreateDirectory(true));
}

TEST_F(PathFileSystem, EnsureDirectoryRaisesTheCreationsCause) {
  WriteFileText(OnD("TOP/FILE.TXT"), "in the way");
  EXPECT_NO_THROW(CPath("D:\\TOP\\NEW\\DEEP\\").EnsureDirectory());
  EXPECT_TRUE(fs::is_directory(OnD("TOP/NEW/DEEP")));

  // A file of that name blocks the directory: access denied, as Windows says,
  // not the "path not found" of the existence test that follows the failure.
  try {
    CPath("D:\\TOP\\FILE.TXT\\").EnsureDirectory();
    FAIL() << "no exception";
  } catch (const platform::FileException& e) {
    EXPECT_EQ(e.Cause(), platform::FileCause::AccessDenied);
    EXPECT_EQ(e.FileName(), "D:\\TOP\\FILE.TXT");
  }
  EXPECT_THROW(CPath("Q:\\NOWHERE\\").EnsureDirectory(), platform::FileException);
}

TEST_F(PathFileSystem, RemoveDirectoryTakesOnlyAnEmptyDirectory) {
  WriteFileText(OnD("FULL/F.TXT"), "f");
  fs::create_directories(OnD("EMPTY"));
  EXPECT_FALSE(CPath("D:\\FULL\\").RemoveDirectory());
  EXPECT_TRUE(CPath("D:\\EMPTY\\F.TXT").RemoveDirectory());
  EXPECT_FALSE(fs::exists(OnD("EMPTY")));
}

TEST_F(PathFileSystem, FullPathExpandsRelativePathsWithinTheLimit) {
  ASSERT_TRUE(platform::SetCurrentDirectory("C:\\WINDOWS"));
  EXPECT_EQ(CPath("SYSTEM\\X.DLL").GetFullPath(), "C:\\WINDOWS\\SYSTEM\\X.DLL");
  EXPECT_EQ(CPath("\\X.DLL").GetFullPath(), "C:\\X.DLL");
  EXPECT_EQ(CPath("C:\\" + std::string(300, 'A')).GetFullPath(), "");
}

TEST_F(PathFileSystem, DriveTypeAndSpaceComeFromThePathsDrive) {
  EXPECT_EQ(CPath("C:\\APP\\X.TXT").GetDriveType(), platform::DriveType::Fixed);
  EXPECT_EQ(CPath("E:\\").GetDriveType(), platform::DriveType::CdRom);
  EXPECT_EQ(CPath("Q:\\X.TXT").GetDriveType(), platform::DriveType::Unknown);
  EXPECT_TRUE(CPath("a:\\SETUP.EXE").IsRemovable());
  EXPECT_FALSE(CPath("C:\\").IsRemovable());

  EXPECT_EQ(CPath("A:\\").GetTotalBytes(), 1474560u);
  EXPECT_EQ(CPath("A:\\").GetFreeBytes(), 1000000u);
  // Beyond 32 bits: exactly 4 GiB free must not read as an empty (full) disk.
  EXPECT_EQ(CPath("E:\\X\\Y.TXT").GetFreeBytes(), kCdFreeBytes);
  EXPECT_EQ(CPath("E:\\").GetTotalBytes(), kCdTotalBytes);
  EXPECT_EQ(CPath("Q:\\").GetFreeBytes(), 0u);
  EXPECT_EQ(CPath("Q:\\").GetTotalBytes(), 0u);

  // A path without a drive asks about the current drive.
  ASSERT_TRUE(platform::SetCurrentDirectory("E:\\"));
  EXPECT_EQ(CPath("README.TXT").GetFreeBytes(), kCdFreeBytes);
  EXPECT_EQ(CPath("\\README.TXT").GetDriveType(), platform::DriveType::CdRom);
}

}  // namespace
