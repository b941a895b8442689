// Windows paths on the host: full-path expansion, the drive table both ways,
// letter case, and the program's own path.

#include <unistd.h>

#include <cerrno>

#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "tests/platform/fs_test_support.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

class PathMap : public machine_test::FsTest {
 protected:
  // The full path of path, or "errno N" when expansion fails.
  static std::string Full(std::string_view path) {
    std::string full;
    errno = 0;
    return GetFullPathName(path, full) ? full : "errno " + std::to_string(errno);
  }

  static fs::path Host(std::string_view path) {
    fs::path host;
    errno = 0;
    return MapToHost(path, host) ? host : fs::path("errno " + std::to_string(errno));
  }

  // Z: spelling of a host path: "/a/b" becomes "Z:\a\b".
  static std::string OnZ(const fs::path& host) {
    std::string text = "Z:" + host.string();
    for (char& c : text) {
      if (c == '/') c = '\\';
    }
    return text;
  }
};

TEST_F(PathMap, FullPathsOfAbsolutePaths) {
  EXPECT_EQ(Full("c:\\a\\b"), "C:\\a\\b");
  EXPECT_EQ(Full("C:/A/B"), "C:\\A\\B");
  EXPECT_EQ(Full("C:\\A\\\\B"), "C:\\A\\B");
  EXPECT_EQ(Full("C:\\A\\.\\B\\..\\C"), "C:\\A\\C");
  EXPECT_EQ(Full("C:\\..\\..\\A"), "C:\\A");  // never above the root
  EXPECT_EQ(Full("C:\\A\\.."), "C:\\");
  EXPECT_EQ(Full("C:\\"), "C:\\");
  EXPECT_EQ(Full("C:\\A\\"), "C:\\A\\");  // a trailing backslash stays, as on Windows
  EXPECT_EQ(Full("Q:\\X"), "Q:\\X");      // expansion does not need the drive mapped
}

TEST_F(PathMap, MalformedPathsAreRejected) {
  const std::string einval = "errno " + std::to_string(EINVAL);
  EXPECT_EQ(Full(""), einval);
  EXPECT_EQ(Full("\\\\server\\share\\x"), einval);
  EXPECT_EQ(Full("C:\\A:B"), einval);
  EXPECT_EQ(Full("1:\\A"), einval);
  EXPECT_EQ(Full(std::string_view("C:\\A\0B", 6)), einval);
  EXPECT_EQ(Host("C:\\A*B").string(), einval);
  EXPECT_EQ(Host("C:\\A?B").string(), einval);
  EXPECT_EQ(Host("C:\\A|B").string(), einval);
  EXPECT_EQ(Host("C:\\A\tB").string(), einval);
}

TEST_F(PathMap, RelativePathsFollowTheHostCurrentDirectory) {
  fs::current_path(C() / "WINDOWS");
  EXPECT_EQ(Full("SYSTEM\\X.DLL"), "C:\\WINDOWS\\SYSTEM\\X.DLL");
  EXPECT_EQ(Full("."), "C:\\WINDOWS");
  EXPECT_EQ(Full("..\\X"), "C:\\X");
  EXPECT_EQ(Full("..\\..\\..\\X"), "C:\\X");
  EXPECT_EQ(Full("\\X"), "C:\\X");
  EXPECT_EQ(Full("C:X"), "C:\\WINDOWS\\X");  // drive-relative on the current drive
  EXPECT_EQ(Full("c:"), "C:\\WINDOWS");
  EXPECT_EQ(Full("Z:X"), "Z:\\X");  // another drive: from its root
  EXPECT_EQ(Host("SYSTEM"), C() / "WINDOWS" / "SYSTEM");

  // Outside every drive but Z:, the current directory is a Z: path.
  fs::current_path(temp_.Root());
  EXPECT_EQ(Full("A"), OnZ(temp_.Root() / "A"));
  EXPECT_EQ(Full("\\etc"), "Z:\\etc");
  EXPECT_EQ(Host("A"), temp_.Root() / "A");
}

TEST_F(PathMap, LengthLimitIsTheFullPath) {
  const std::string longest = "C:\\" + std::string(kMaxPath - 3, 'a');
  EXPECT_EQ(Full(longest), longest);
  EXPECT_EQ(Full(longest + "b"), "errno " + std::to_string(ENAMETOOLONG));
  EXPECT_EQ(Host(longest + "b").string(), "errno " + std::to_string(ENAMETOOLONG));
  // A relative path is measured once expanded.
  fs::current_path(C() / "WINDOWS");
  EXPECT_EQ(Full(std::string(kMaxPath - 10, 'a')), "errno " + std::to_string(ENAMETOOLONG));
  EXPECT_EQ(Full("..\\" + std::string(kMaxPath - 3, 'a')), longest);
}

TEST_F(PathMap, UnmappedDrivesAreNoDevice) {
  EXPECT_EQ(Host("Q:\\X").string(), "errno " + std::to_string(ENODEV));
  EXPECT_EQ(Host("q:x").string(), "errno " + std::to_string(ENODEV));
}

TEST_F(PathMap, LookupIgnoresCaseAndPrefersTheExactName) {
  MakeFile("Data/Read Me.TXT");
  EXPECT_EQ(Host("C:\\DATA\\READ ME.TXT"), C() / "Data" / "Read Me.TXT");
  EXPECT_EQ(Host("c:/data/read me.txt"), C() / "Data" / "Read Me.TXT");

  // Two names that Windows would consider one: the exact spelling wins, and a
  // third spelling gets the first of them in byte order, every time.
  fs::create_directories(C() / "Dir");
  fs::create_directories(C() / "DIR");
  EXPECT_EQ(Host("C:\\Dir"), C() / "Dir");
  EXPECT_EQ(Host("C:\\DIR"), C() / "DIR");
  EXPECT_EQ(Host("C:\\dir"), C() / "DIR");
}

TEST_F(PathMap, NewComponentsKeepTheirCase) {
  MakeFile("Data/x");
  EXPECT_EQ(Host("C:\\DATA\\NewDir\\New File.Txt"), C() / "Data" / "NewDir" / "New File.Txt");
  // Below a missing directory nothing is looked up, even names that exist elsewhere.
  EXPECT_EQ(Host("C:\\Missing\\DATA"), C() / "Missing" / "DATA");
  // ".." never leaves the drive's directory.
  EXPECT_EQ(Host("C:\\..\\..\\run"), C() / "run");
}

// A directory that paths were resolved through may go or change its spelling,
// behind the platform's back or through it: paths below it follow.
TEST_F(PathMap, PathsBelowADirectoryFollowItsChanges) {
  MakeFile("Data/Sub/x");
  EXPECT_EQ(Host("C:\\DATA\\SUB\\X"), C() / "Data" / "Sub" / "x");
  fs::rename(C() / "Data", C() / "data");  // behind its back
  EXPECT_EQ(Host("C:\\DATA\\SUB\\X"), C() / "data" / "Sub" / "x");
  fs::remove_all(C() / "data");
  EXPECT_EQ(Host("C:\\DATA\\SUB\\X"), C() / "DATA" / "SUB" / "X");
  MakeFile("dAtA/sUb/x");
  EXPECT_EQ(Host("C:\\DATA\\SUB\\X"), C() / "dAtA" / "sUb" / "x");
  ASSERT_TRUE(MoveFile("C:\\DATA", "C:\\Moved"));  // through it
  EXPECT_EQ(Host("C:\\DATA\\SUB\\X"), C() / "DATA" / "SUB" / "X");
  EXPECT_EQ(Host("C:\\MOVED\\SUB\\X"), C() / "Moved" / "sUb" / "x");
}

TEST_F(PathMap, HostPathsMapBackToTheirDrive) {
  EXPECT_EQ(MapToWindows(C()), "C:\\");
  EXPECT_EQ(MapToWindows(C() / "WINDOWS" / "SYSTEM"), "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(MapToWindows(C() / "a" / ".." / "WINDOWS" / ""), "C:\\WINDOWS");
  EXPECT_EQ(MapToWindows(temp_.Root() / "run"), OnZ(temp_.Root() / "run"));
  EXPECT_EQ(MapToWindows("/"), "Z:\\");
  // Not merely a common prefix of characters: drive_c2 is not on drive_c.
  EXPECT_EQ(MapToWindows(temp_.Root() / "drive_c2"), OnZ(temp_.Root() / "drive_c2"));

  fs::current_path(C());
  EXPECT_EQ(MapToWindows("WINDOWS"), "C:\\WINDOWS");

  // Lexical, not resolved: a symlink to drive C: is still a path on Z:.
  fs::create_directory_symlink(C(), temp_.Root() / "link");
  EXPECT_EQ(MapToWindows(temp_.Root() / "link" / "WINDOWS"), OnZ(temp_.Root() / "link" / "WINDOWS"));
}

TEST_F(PathMap, TheLongestDriveDirectoryWins) {
  MachineConfig config = MachineConfig::Defaults(PlatformKind::Win95);
  config.drives.push_back(ParseDriveSpec('D', "cdrom,drive_c/cd"));
  Machine::Create(temp_.Root(), config);
  UseMachine(temp_.Root());
  EXPECT_EQ(MapToWindows(C() / "cd" / "SETUP.EXE"), "D:\\SETUP.EXE");
  EXPECT_EQ(MapToWindows(C() / "cdx"), "C:\\cdx");
  EXPECT_EQ(Host("D:\\SETUP.EXE"), C() / "cd" / "SETUP.EXE");
}

TEST_F(PathMap, ModuleFileNameIsThePathAsStarted) {
  const fs::path program = MakeFile("APP/setup.exe");
  fs::permissions(program, fs::perms::owner_exec, fs::perm_options::add);
  fs::create_symlink(program, C() / "APP" / "link.exe");

  fs::current_path(C() / "APP");
  SetProgramArgv0("./link.exe");  // a symlink is reported as itself, not its target
  fs::current_path("/");          // later changes of directory do not matter
  EXPECT_EQ(GetModuleFileName(), "C:\\APP\\link.exe");

  SetProgramArgv0((C() / "APP" / "setup.exe").c_str());
  EXPECT_EQ(GetModuleFileName(), "C:\\APP\\setup.exe");

  // A bare name was found in PATH.
  const char* savedPath = std::getenv("PATH");
  const std::string saved = savedPath ? savedPath : "";
  setenv("PATH", ("/nonexistent:" + (C() / "APP").string()).c_str(), 1);
  SetProgramArgv0("setup.exe");
  const std::string found = GetModuleFileName();
  setenv("PATH", saved.c_str(), 1);
  EXPECT_EQ(found, "C:\\APP\\setup.exe");

  // Nothing usable recorded: the running executable.
  char exe[4096] = {};
  ASSERT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
  SetProgramArgv0(nullptr);
  EXPECT_EQ(GetModuleFileName(), MapToWindows(exe));
}

}  // namespace
}  // namespace platform
