// sample/demo.sh, the script behind ./run demo: a batch run of the real setup
// from the sample's diskettes on a fresh machine.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/common/temp_dir.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSample = QM_SAMPLE_DIR;
const std::string kBuildDir = QM_BUILD_DIR;

qmtest::ToolResult RunDemo(const fs::path& demoDir) {
  return qmtest::RunProgram((kSample / "demo.sh").string(), {"--batch", "--demo-dir", demoDir.string(), kBuildDir});
}

TEST(SampleDemo, InstallsTheSampleOnAFreshMachineEveryTime) {
  qmtest::TempDir temp("qm-demo");
  const fs::path demo = temp.Path() / "demo";
  // What an earlier run left: the next run starts from nothing.
  fs::create_directories(demo / "machine" / "drive_c" / "QMW2");
  qmtest::WriteFileText(demo / ".quillmark-demo", "");
  qmtest::WriteFileText(demo / "machine" / "drive_c" / "QMW2" / "STALE.TXT", "from the last run");

  const qmtest::ToolResult result = RunDemo(demo);
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  EXPECT_NE(result.out.find("Exit status 0: "), std::string::npos) << result.out;
  EXPECT_FALSE(fs::exists(demo / "machine" / "drive_c" / "QMW2" / "STALE.TXT"));

  const fs::path drive = demo / "machine" / "drive_c";
  EXPECT_TRUE(fs::exists(drive / "WINDOWS" / "Qmw.log")) << result.out;
  const fs::path program = drive / "QMW2" / "QMW.EXE";
  ASSERT_TRUE(fs::exists(program)) << result.out;
  EXPECT_EQ(qmtest::ReadFileText(program), qmtest::ReadFileText(kSample / "tree" / "program" / "QMW.EXE"));
  // README.TXT lies on the last diskette, which the setup finds beside the first.
  EXPECT_TRUE(fs::exists(drive / "QMW2" / "README.TXT")) << result.out;
  // The program's items are shell links in the proposed program folder.
  EXPECT_TRUE(fs::exists(drive / "WINDOWS" / "Start Menu" / "Programs" / "QM2" / "Quillmark 2.0.lnk")) << result.out;
  // The photographs' archive runs from the first diskette onto the second: its
  // last file comes out of the second volume whole.
  const fs::path photo = drive / "QMW2" / "CLIPART" / "ART2000" / "PHOTO24.BMP";
  ASSERT_TRUE(fs::exists(photo)) << result.out;
  EXPECT_EQ(qmtest::ReadFileText(photo), qmtest::ReadFileText(kSample / "tree" / "clipart" / "art2000" / "PHOTO24.BMP"));
}

TEST(SampleDemo, OnWindowsNt351TheItemsAreProgramManagers) {
  qmtest::TempDir temp("qm-demo");
  const fs::path demo = temp.Path() / "demo";
  const qmtest::ToolResult result = qmtest::RunProgram(
      (kSample / "demo.sh").string(), {"--batch", "--platform", "nt351", "--demo-dir", demo.string(), kBuildDir});
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  // The setup started the machine's Program Manager, which the demo lists.
  EXPECT_NE(result.out.find("QM2\n  Quillmark 2.0\n    command: C:\\QMW2\\QMW.EXE\n"), std::string::npos) << result.out;
  const fs::path groups = demo / "machine" / "drive_c" / "WINNT";
  bool groupFile = false;
  for (const auto& entry : fs::directory_iterator(groups)) groupFile = groupFile || entry.path().extension() == ".grp";
  EXPECT_TRUE(groupFile);
}

TEST(SampleDemo, WithRemoveTheRegisteredRemovalCommandTakesTheInstallAway) {
  qmtest::TempDir temp("qm-demo");
  const fs::path demo = temp.Path() / "demo";
  const qmtest::ToolResult result = qmtest::RunProgram(
      (kSample / "demo.sh").string(), {"--batch", "--remove", "--demo-dir", demo.string(), kBuildDir});
  ASSERT_EQ(result.exitCode, 0) << result.out << result.err;
  EXPECT_NE(result.out.find("the removal left on C: of the install (in bytes)\nno files\n"), std::string::npos)
      << result.out;
  EXPECT_FALSE(fs::exists(demo / "machine" / "drive_c" / "QMW2"));
}

TEST(SampleDemo, LeavesADirectoryItDidNotMakeAlone) {
  qmtest::TempDir temp("qm-demo");
  qmtest::WriteFileText(temp.Path() / "notes.txt", "mine");

  const qmtest::ToolResult result = RunDemo(temp.Path());
  EXPECT_EQ(result.exitCode, 4);
  EXPECT_NE(result.err.find("not a directory that the demo made"), std::string::npos) << result.err;
  EXPECT_EQ(qmtest::ReadFileText(temp.Path() / "notes.txt"), "mine");
}

}  // namespace
