#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/common/temp_dir.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;
using qmtest::RunTool;

class QmtoolSystem : public ::testing::Test {
 protected:
  std::string Env() const { return "QMSETUP_SYSTEM=" + root_.string(); }

  qmtest::TempDir dir_{"qmtool-system"};
  fs::path root_ = dir_.Path() / "system";  // left for the tool to create
};

TEST_F(QmtoolSystem, InitWin95CreatesTheWindowsDirectoriesAndPathMapsIntoThem) {
  const auto init = RunTool("qmtool", {"system", "init", "--root", root_.string(), "--platform", "win95"});
  ASSERT_EQ(init.exitCode, 0) << init.err;
  EXPECT_TRUE(fs::is_directory(root_ / "drive_c/WINDOWS/SYSTEM"));
  EXPECT_TRUE(fs::is_directory(root_ / "drive_c/WINDOWS/TEMP"));
  EXPECT_NE(init.out.find("C:\\WINDOWS\\SYSTEM"), std::string::npos);

  const auto path = RunTool("qmtool", {"system", "path", "c:\\windows\\system\\x.dll"}, {Env()});
  ASSERT_EQ(path.exitCode, 0) << path.err;
  EXPECT_EQ(path.out, (root_ / "drive_c/WINDOWS/SYSTEM/x.dll").string() + "\n");
}

TEST_F(QmtoolSystem, InitNtUsesTheNtDirectories) {
  for (const char* kind : {"nt351", "nt4"}) {
    fs::remove_all(root_);
    const auto init = RunTool("qmtool", {"system", "init", "--root", root_.string(), "--platform", kind});
    ASSERT_EQ(init.exitCode, 0) << init.err;
    EXPECT_TRUE(fs::is_directory(root_ / "drive_c/WINNT/SYSTEM32")) << kind;
    EXPECT_TRUE(fs::is_directory(root_ / "drive_c/TEMP")) << kind;
    const auto info = RunTool("qmtool", {"system", "info"}, {Env()});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_NE(info.out.find("platform id 2"), std::string::npos) << info.out;
  }
}

TEST_F(QmtoolSystem, InitSeedsTheProgramsShellFolderOfThePlatformKindAndCreatesIt) {
  const std::string key = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  struct Case {
    const char* kind;
    const char* folder;
    const char* host;
  };
  for (const Case& c : {Case{"win95", "C:\\\\WINDOWS\\\\Start Menu\\\\Programs", "WINDOWS/Start Menu/Programs"},
                        Case{"nt4", "C:\\\\WINNT\\\\Profiles\\\\Administrator\\\\Start Menu\\\\Programs",
                             "WINNT/Profiles/Administrator/Start Menu/Programs"},
                        Case{"nt351", "C:\\\\WINNT\\\\Profiles\\\\Administrator\\\\Start Menu\\\\Programs",
                             "WINNT/Profiles/Administrator/Start Menu/Programs"}}) {
    fs::remove_all(root_);
    const auto init = RunTool("qmtool", {"system", "init", "--root", root_.string(), "--platform", c.kind});
    ASSERT_EQ(init.exitCode, 0) << init.err;
    EXPECT_TRUE(fs::is_directory(root_ / "drive_c" / c.host)) << c.kind;
    const auto exported = RunTool("qmtool", {"reg", "export", key}, {Env()});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    // A quoted string: the text is stored without a terminating zero, as the setup writes text.
    EXPECT_EQ(exported.out, "REGEDIT4\n\n[" + key + "]\n\"Programs\"=\"" + c.folder + "\"\n\n") << c.kind;
    // Where installed programs register their removal, as on every Windows.
    const std::string uninstall = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
    EXPECT_EQ(RunTool("qmtool", {"reg", "export", uninstall}, {Env()}).out, "REGEDIT4\n\n[" + uninstall + "]\n\n");
  }
  // Init on an existing machine rewrites the value for its new platform kind.
  const auto again = RunTool("qmtool", {"system", "init", "--root", root_.string(), "--platform", "win95"});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_NE(RunTool("qmtool", {"reg", "export", key}, {Env()}).out.find("C:\\\\WINDOWS\\\\Start Menu"),
            std::string::npos);
}

TEST_F(QmtoolSystem, DrivesAreAddedWithTheirOverrides) {
  const fs::path floppy = root_ / "floppy";
  const auto init = RunTool("qmtool", {"system", "init", "--root", root_.string(), "--drive",
                                       "A=removable," + floppy.string() + ",free=1457664,total=1457664",
                                       "--drive", "D=fixed,big,free=10000000000,total=20000000000"});
  ASSERT_EQ(init.exitCode, 0) << init.err;
  const auto info = RunTool("qmtool", {"system", "info"}, {Env()});
  ASSERT_EQ(info.exitCode, 0) << info.err;
  EXPECT_NE(info.out.find("A:  removable"), std::string::npos) << info.out;
  EXPECT_NE(info.out.find("9.3 GB free of 18.6 GB"), std::string::npos) << info.out;
}

TEST_F(QmtoolSystem, RunStartsAProgramOfTheMachineWhateverItsModeBits) {
  ASSERT_EQ(RunTool("qmtool", {"system", "init", "--root", root_.string()}).exitCode, 0);
  // Prints its vector and the machine it was told of, then ends with 6.
  const fs::path script = root_ / "drive_c" / "TELL.BAT";
  qmtest::WriteFileText(script, "#!/bin/sh\nprintf '%s|' \"$0\" \"$@\" \"$QMSETUP_SYSTEM\"\nexit 6\n");
  fs::permissions(script, fs::perms::owner_read | fs::perms::owner_write);
  const auto run = RunTool("qmtool", {"system", "run", "--root", root_.string(), "c:\\tell.bat", "/B", "two words"});
  EXPECT_EQ(run.exitCode, 6) << run.err;
  EXPECT_EQ(run.out, script.string() + "|/B|two words|" + root_.string() + "|");

  const auto missing = RunTool("qmtool", {"system", "run", "C:\\NONE.EXE"}, {Env()});
  EXPECT_EQ(missing.exitCode, 127);
  EXPECT_NE(missing.err.find("cannot start C:\\NONE.EXE"), std::string::npos) << missing.err;
}

TEST_F(QmtoolSystem, ErrorsAreReportedWithNonZeroExitCodes) {
  ASSERT_EQ(RunTool("qmtool", {"system", "init", "--root", root_.string()}).exitCode, 0);

  const auto unmapped = RunTool("qmtool", {"system", "path", "Q:\\X"}, {Env()});
  EXPECT_EQ(unmapped.exitCode, 1);
  EXPECT_NE(unmapped.err.find("drive Q: is not mapped"), std::string::npos) << unmapped.err;

  const auto tooLong = RunTool("qmtool", {"system", "path", "C:\\" + std::string(300, 'a')}, {Env()});
  EXPECT_EQ(tooLong.exitCode, 1);

  EXPECT_EQ(RunTool("qmtool", {"system", "init", "--root", root_.string(), "--platform", "win31"}).exitCode, 2);
  EXPECT_EQ(RunTool("qmtool", {"system", "init", "--root", root_.string(), "--drive", "C=floppy,x"}).exitCode, 2);
  EXPECT_EQ(RunTool("qmtool", {"system", "frobnicate"}, {Env()}).exitCode, 2);
  EXPECT_EQ(RunTool("qmtool", {"nonsense"}).exitCode, 2);
  EXPECT_EQ(RunTool("qmtool", {}).exitCode, 2);
}

TEST_F(QmtoolSystem, HelpAndVersionOnTheToolAndTheVerb) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"--help"}, {"--version"}, {"system", "--help"}, {"system", "--version"}, {"system", "init", "--help"}}) {
    const auto result = RunTool("qmtool", args);
    EXPECT_EQ(result.exitCode, 0) << args.back();
    EXPECT_FALSE(result.out.empty()) << args.back();
  }
}

}  // namespace
