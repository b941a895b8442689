// qmsetup as a person or a script starts it: copied into a media folder as
// SETUP and run there, with no display.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "platform/machine/thread_message.h"
#include "tests/app/setup_media.h"
#include "tests/common/temp_dir.h"
#include "tests/tools/run_tool.h"

namespace {

using namespace std::chrono_literals;

constexpr unsigned kSetupDoneMessage = 1338;

class SetupProgramTest : public ::testing::Test {
 protected:
  SetupProgramTest() { media_.CopyProgram(std::filesystem::path(QM_BIN_DIR) / "qmsetup"); }

  qmtest::ToolResult RunSetup(const std::vector<std::string>& args, std::vector<std::string> env = {}) const {
    env.push_back("QMSETUP_SYSTEM=" + media_.Machine().Root().string());
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("XDG_RUNTIME_DIR=" + runtime_.Path().string());
    return qmtest::RunProgram(media_.Program().string(), args, env);
  }

  qmtest::SetupMedia media_;
  qmtest::TempDir runtime_{"qm-setup-runtime"};
};

TEST_F(SetupProgramTest, ABatchRunFromTheMediaFolderReachesTheEndWithStatusZero) {
  const qmtest::ToolResult result = RunSetup({"/B"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err.find("cannot continue"), std::string::npos) << result.err;
}

TEST_F(SetupProgramTest, TheNotifyThreadHearsTheEndOfTheRun) {
  platform::ThreadMessageListener listener(1234);
  ASSERT_EQ(RunSetup({"/B", "/T:1234"}).exitCode, 0);
  const auto message = listener.Receive(2000ms);
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->message, kSetupDoneMessage);
  EXPECT_EQ(message->wParam, 0u);
  EXPECT_EQ(message->lParam, 0);

  // A thread number that is no number names no thread.
  ASSERT_EQ(RunSetup({"/B", "/T:abc"}).exitCode, 0);
  EXPECT_FALSE(listener.Receive(200ms).has_value());
}

// Damaged tables files: the splash page's loading fails, "Setup cannot
// continue" is reported (in batch mode the answer goes to stderr) and the run
// ends with status 3 instead of leaving a page nobody can close.
struct DamagedTables {
  const char* name;
  const char* tables;
};

class DamagedTablesTest : public SetupProgramTest, public ::testing::WithParamInterface<DamagedTables> {};

TEST_P(DamagedTablesTest, IsReportedAndEndsABatchRunWithStatusThree) {
  media_.WriteFile("SETUP.ini", GetParam().tables);
  platform::ThreadMessageListener listener(77);
  const qmtest::ToolResult result = RunSetup({"/B", "/T:77"});
  EXPECT_EQ(result.exitCode, 3) << result.err;
  EXPECT_NE(result.err.find("Setup cannot continue"), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("-> OK"), std::string::npos) << result.err;
  // The whole report, not just its context: short text, long text and the
  // information line of context 9.
  const std::regex report("Setup cannot continue\n[^\n]+\n[^\n]+[\\s\\S]*\n9\\.[0-9]+ \\(C[A-Za-z]+\\)\n");
  EXPECT_TRUE(std::regex_search(result.err, report)) << result.err;
  // The exit steps still ran.
  EXPECT_TRUE(listener.Receive(2000ms).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Tables, DamagedTablesTest,
    ::testing::Values(DamagedTables{"NoDestinations", "[groups]\nMain=Main|M|1|1|1\n"},
                      DamagedTables{"CycleOfParents", "[destinations]\n0=QMW2||C:\\QMW2\n1=A|2|\n2=B|1|\n"
                                                      "[groups]\nMain=Main|M|1|1|1\n"},
                      DamagedTables{"EmptyTablesFile", ""}),
    [](const ::testing::TestParamInfo<DamagedTables>& info) { return std::string(info.param.name); });

TEST_F(SetupProgramTest, ScreenshotsAreSavedForEveryPageShown) {
  qmtest::TempDir shots("qm-shots");
  const qmtest::ToolResult result = RunSetup({"/B"}, {"QMSETUP_SCREENSHOTS=" + shots.Path().string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> expected = {"001_132.png", "002_102.png", "003_128.png",
                                             "004_104.png", "005_125.png", "006_106.png",
                                             "007_152.png", "008_108.png", "009_115.png"};
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(shots.Path())) {
    names.push_back(entry.path().filename().string());
    EXPECT_GT(entry.file_size(), 0u);
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, expected);
}

// Which display a run uses. A wizard run with no display must not wait on a page
// nobody can see; a batch run never touches a display, even a named one (here
// one that does not exist, which would abort a run that tried to use it).
struct DisplayCase {
  const char* name;
  std::vector<std::string> args;
  std::vector<std::string> env;
  int exitCode;
  const char* errText;  // in stderr; empty for no check
};

class DisplayChoiceTest : public SetupProgramTest, public ::testing::WithParamInterface<DisplayCase> {};

TEST_P(DisplayChoiceTest, EndsAsExpected) {
  const DisplayCase& c = GetParam();
  std::vector<std::string> env = {"DISPLAY=", "WAYLAND_DISPLAY="};
  env.insert(env.end(), c.env.begin(), c.env.end());
  // RunSetup names the offscreen platform; these runs name their own.
  env.push_back("QMSETUP_SYSTEM=" + media_.Machine().Root().string());
  env.push_back("XDG_RUNTIME_DIR=" + runtime_.Path().string());
  if (std::none_of(env.begin(), env.end(), [](const std::string& e) { return e.rfind("QT_QPA_PLATFORM=", 0) == 0; })) {
    env.push_back("QT_QPA_PLATFORM=");
  }
  const qmtest::ToolResult result = qmtest::RunProgram(media_.Program().string(), c.args, env);
  EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
  if (*c.errText != '\0') {
    EXPECT_NE(result.err.find(c.errText), std::string::npos) << result.err;
  }
  if (c.exitCode == 3) {
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << "one line: " << result.err;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, DisplayChoiceTest,
    ::testing::Values(
        DisplayCase{"WizardWithoutDisplayEndsWithStatusThree", {}, {}, 3, "no display"},
        DisplayCase{"RemovalWithoutDisplayEndsWithStatusThree", {"/U"}, {}, 3, "no display"},
        DisplayCase{"BatchWithoutDisplayRuns", {"/B"}, {}, 0, ""},
        DisplayCase{"BatchIgnoresANamedDisplay", {"/B"}, {"DISPLAY=:65000"}, 0, ""},
        DisplayCase{"BatchIgnoresANamedPlatform", {"/B"}, {"DISPLAY=:65000", "QT_QPA_PLATFORM=xcb"}, 0, ""}),
    [](const ::testing::TestParamInfo<DisplayCase>& info) { return std::string(info.param.name); });

// The trace a program outside follows: every page shown and waiting, in order.
TEST_F(SetupProgramTest, TheTraceFollowsThePages) {
  qmtest::TempDir dir("qm-trace");
  const std::filesystem::path trace = dir.Path() / "trace";
  ASSERT_EQ(RunSetup({"/B"}, {"QMSETUP_TRACE=" + trace.string()}).exitCode, 0);
  std::string expected;
  for (int id : {132, 102, 128, 104, 125, 106, 152, 108, 115}) {
    expected += "page " + std::to_string(id) + " shown\n";
    // The splash and the copy leave by their own action; the others wait (and
    // in a batch run advance by themselves).
    if (id != 132 && id != 108) expected += "page " + std::to_string(id) + " waiting\n";
  }
  EXPECT_EQ(qmtest::ReadFileText(trace), expected);

  // A trace that cannot be written is said, and the run goes on.
  const qmtest::ToolResult result = RunSetup({"/B"}, {"QMSETUP_TRACE=" + (dir.Path() / "no/such/file").string()});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.err.find("QMSETUP_TRACE: cannot open"), std::string::npos) << result.err;
}

TEST_F(SetupProgramTest, HelpAndVersionAreForTheirOwnOnly) {
  const qmtest::ToolResult help = RunSetup({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("/T:thread"), std::string::npos);
  const qmtest::ToolResult version = RunSetup({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("qmsetup ", 0), 0u);
}

}  // namespace
