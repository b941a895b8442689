// One run at a time on a machine: while another process holds the machine's
// run lock, qmsetup says so and ends with status 3, having touched nothing of
// the machine; once the holder has been killed, the next run goes through.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/machine/thread_message.h"
#include "tests/app/setup_media.h"
#include "tests/common/run_lock_holder.h"
#include "tests/common/temp_dir.h"
#include "tests/tools/run_tool.h"

namespace {

using namespace std::chrono_literals;

constexpr unsigned kSetupDoneMessage = 1338;

// Every file of the machine but its run-time directory, with its contents.
std::map<std::string, std::string> MachineFiles(const std::filesystem::path& root) {
  std::map<std::string, std::string> files;
  for (auto it = std::filesystem::recursive_directory_iterator(root); it != decltype(it)(); ++it) {
    if (it->path() == root / "run") {
      it.disable_recursion_pending();
      continue;
    }
    const std::string name = std::filesystem::relative(it->path(), root).string();
    files[name] = it->is_regular_file() ? qmtest::ReadFileText(it->path()) : std::string("<dir>");
  }
  return files;
}

struct LockedRun {
  const char* name;
  std::vector<std::string> args;
  bool installFirst;  // a removal needs something to remove
};

class SetupRunLockTest : public ::testing::TestWithParam<LockedRun> {
 protected:
  SetupRunLockTest() { media_.CopyProgram(std::filesystem::path(QM_BIN_DIR) / "qmsetup"); }

  qmtest::ToolResult RunSetup(const std::vector<std::string>& args) const {
    const std::vector<std::string> env = {"QMSETUP_SYSTEM=" + media_.Machine().Root().string(),
                                          "QT_QPA_PLATFORM=offscreen", "QMSETUP_REMOVAL_WAIT_MS=0",
                                          "XDG_RUNTIME_DIR=" + runtime_.Path().string()};
    return qmtest::RunProgram(media_.Program().string(), args, env);
  }

  qmtest::SetupMedia media_;
  qmtest::TempDir runtime_{"qm-setup-runtime"};
};

TEST_P(SetupRunLockTest, ASecondRunSaysSoAndTouchesNothingAndAKilledHolderBlocksNothing) {
  if (GetParam().installFirst) {
    ASSERT_EQ(RunSetup({"/B"}).exitCode, 0);
  }
  const auto before = MachineFiles(media_.Machine().Root());

  qmtest::RunLockHolder holder;
  ASSERT_TRUE(holder.TookLock());
  platform::ThreadMessageListener listener(4321);
  std::vector<std::string> args = GetParam().args;
  args.push_back("/T:4321");
  const qmtest::ToolResult refused = RunSetup(args);
  EXPECT_EQ(refused.exitCode, 3) << refused.err;
  EXPECT_NE(refused.err.find("Quillmark 2.0 Setup: Another Setup program is running on this computer."),
            std::string::npos)
      << refused.err;
  EXPECT_NE(refused.err.find("-> OK"), std::string::npos) << refused.err;
  EXPECT_EQ(refused.err.find("cannot continue"), std::string::npos) << refused.err;
  EXPECT_EQ(MachineFiles(media_.Machine().Root()), before);
  // A program waiting on /T hears that the refused run is over.
  const auto message = listener.Receive(2000ms);
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->message, kSetupDoneMessage);

  holder.Kill();
  const qmtest::ToolResult next = RunSetup(GetParam().args);
  EXPECT_EQ(next.exitCode, 0) << next.err;
  EXPECT_NE(MachineFiles(media_.Machine().Root()), before);
}

INSTANTIATE_TEST_SUITE_P(Runs, SetupRunLockTest,
                         ::testing::Values(LockedRun{"Install", {"/B"}, false},
                                           LockedRun{"Removal", {"/U", "/B", "/D:C:\\QMW2\\"}, true}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
