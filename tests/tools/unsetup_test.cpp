// unsetup, the installed removal program: which setup program it runs and
// how, what it copies beside the copy, what it waits for, and that it leaves
// nothing in the temporary directory. A recording stand-in plays the setup.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/common/temp_machine.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;
using qmtest::ReadFileText;
using qmtest::WriteFileText;

const fs::path kBin = QM_BIN_DIR;
const fs::path kFake = QM_FAKE_REMOVAL_RUN;

class UnsetupTest : public ::testing::Test {
 protected:
  // An install directory on C: holding the removal program as "Unsetup.exe".
  void Install(const std::string& directory) {
    dir_ = machine_.DriveC() / directory;
    fs::create_directories(dir_);
    fs::copy_file(kBin / "unsetup", dir_ / "Unsetup.exe");
  }

  // The stand-in under a name, without execute bit as installed files are.
  void PlaceSetup(const std::string& name) {
    fs::copy_file(kFake, dir_ / name);
    fs::permissions(dir_ / name, fs::perms::owner_read | fs::perms::owner_write);
  }

  void WriteLog(const std::string& installPrograms) {
    WriteFileText(machine_.DriveC() / "WINDOWS" / "Qmw.log", "[Install Programs]\r\n" + installPrograms);
  }

  qmtest::ToolResult Run(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
    std::vector<std::string> all{"QMSETUP_SYSTEM=" + machine_.Root().string(), "QMFAKE_RECORD=" + record_.string()};
    all.insert(all.end(), env.begin(), env.end());
    return qmtest::RunProgram((dir_ / "Unsetup.exe").string(), args, all);
  }

  std::vector<std::string> Recorded() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadFileText(record_));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  bool TempIsEmpty() const { return fs::is_empty(machine_.DriveC() / "WINDOWS" / "TEMP"); }

  qmtest::TempMachineRoot machine_;
  fs::path dir_;
  fs::path record_ = machine_.Root() / "record.txt";
};

TEST_F(UnsetupTest, RunsTheLoggedSetupProgramFromACopyWithItsFilesBeside) {
  Install("QMW2");
  PlaceSetup("INSTALL.EXE");
  WriteFileText(dir_ / "SETUP.EXE", "not a program: taking it would fail");
  WriteFileText(dir_ / "cv_setup.ini", "[Setup]\r\n");
  WriteFileText(dir_ / "REMOVE.PIF", "#!/bin/sh\n");
  WriteLog("GONE.EXE=0|1|0\r\nINSTALL.EXE=0|1|0\r\n");

  const auto result = Run({"/B", "junk", "-x"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Recorded();
  ASSERT_EQ(lines.size(), 6u) << ReadFileText(record_);
  const fs::path copy = lines[0];
  EXPECT_EQ(copy.filename(), "INSTALL.EXE");
  EXPECT_EQ(copy.parent_path().parent_path(), machine_.DriveC() / "WINDOWS" / "TEMP");
  EXPECT_EQ(copy.parent_path().filename().string().rfind("QMU", 0), 0u);
  EXPECT_EQ(lines[1], "/U");
  EXPECT_EQ(lines[2].rfind("/T:", 0), 0u);
  EXPECT_GT(std::stoi(lines[2].substr(3)), 0);
  EXPECT_EQ(lines[3], "/D:C:\\QMW2\\");
  EXPECT_EQ(lines[4], "/B");
  EXPECT_EQ(lines[5], "beside: INSTALL.EXE cv_setup.ini remove.pif");
  EXPECT_TRUE(TempIsEmpty());
  EXPECT_TRUE(fs::exists(dir_ / "Unsetup.exe"));
}

TEST_F(UnsetupTest, EndsWithTheRunsStatusAndCleansUpEitherWay) {
  Install("QMW2");
  PlaceSetup("SETUP.EXE");  // no log: the default name
  const struct {
    std::vector<std::string> env;
    int status;
    bool complaint;  // ended without telling it was done
  } cases[] = {
      {{"QMFAKE_STATUS=2"}, 2, false},
      {{"QMFAKE_STATUS=1", "QMFAKE_SILENT=1"}, 1, true},
      {{"QMFAKE_STATUS=0", "QMFAKE_SILENT=1"}, 0, true},
  };
  for (const auto& c : cases) {
    const auto result = Run({}, c.env);
    EXPECT_EQ(result.exitCode, c.status) << result.err;
    EXPECT_EQ(result.err.find("before it was done") != std::string::npos, c.complaint) << result.err;
    const std::vector<std::string> lines = Recorded();
    ASSERT_EQ(lines.size(), 5u) << ReadFileText(record_);  // no /B given, none passed on
    EXPECT_EQ(lines[4], "beside: SETUP.EXE");
    EXPECT_TRUE(TempIsEmpty());
  }
}

TEST_F(UnsetupTest, WithoutASetupProgramNothingIsStartedOrChanged) {
  Install("QMW2");
  WriteLog("INSTALL.EXE=0|1|0\r\n");
  WriteFileText(dir_ / "QMW.EXE", "product");
  const auto result = Run({"/B"});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_NE(result.err.find("C:\\QMW2\\ holds no setup program"), std::string::npos) << result.err;
  EXPECT_FALSE(fs::exists(record_));
  EXPECT_TRUE(TempIsEmpty());
  EXPECT_TRUE(fs::exists(dir_ / "QMW.EXE"));
}

// The setup splits its command line at blanks, so a directory with one is not
// passed with /D (it would name another directory); unsetup finishes it.
TEST_F(UnsetupTest, InstallDirectoryWithBlanksIsFinishedByUnsetup) {
  Install("My Apps");
  PlaceSetup("SETUP.EXE");
  fs::create_directories(machine_.DriveC() / "My");
  WriteFileText(machine_.DriveC() / "My" / "unsetup.exe", "somebody else's");

  const auto result = Run({"/B"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  for (const std::string& line : Recorded()) EXPECT_NE(line.rfind("/D", 0), 0u) << line;
  EXPECT_FALSE(fs::exists(dir_ / "Unsetup.exe"));
  EXPECT_TRUE(fs::exists(dir_ / "SETUP.EXE"));  // not ours to remove: the directory stays
  EXPECT_TRUE(fs::exists(machine_.DriveC() / "My" / "unsetup.exe"));
  EXPECT_TRUE(TempIsEmpty());
}

}  // namespace
