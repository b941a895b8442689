// qmtool progman as the machine runs it: started detached the way "progman.exe"
// is, listed as text and JSON, refusing a second server, and ending on SIGTERM.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>

#include "platform/dde/dde_client.h"
#include "platform/dde/progman_launcher.h"
#include "platform/dde/progman_server.h"
#include "tests/common/temp_machine.h"
#include "tests/tools/run_tool.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using platform::dde::DdeClient;
using qmtest::RunTool;

class QmtoolProgman : public ::testing::Test {
 protected:
  QmtoolProgman() { setenv("QMSETUP_QMTOOL", QM_BIN_DIR "/qmtool", 1); }
  ~QmtoolProgman() override { unsetenv("QMSETUP_QMTOOL"); }

  std::vector<std::string> Env() const { return {"QMSETUP_SYSTEM=" + machine_.Root().string()}; }

  qmtest::TempMachineRoot machine_;
};

TEST_F(QmtoolProgman, StartedServerKeepsGroupsThatListShows) {
  ASSERT_TRUE(platform::dde::StartProgramManager());
  DdeClient client;
  ASSERT_TRUE(client.Connect("PROGMAN", "PROGMAN"));
  EXPECT_TRUE(client.Execute("[CreateGroup(\"QM2\")][AddItem(C:\\QM\\QM.EXE /U,\"Remove QM\",C:\\QM\\QM.ICO,1,-1,-1,,,1)]"));

  const auto second = RunTool("qmtool", {"progman", "serve"}, Env());
  EXPECT_EQ(second.exitCode, 1);
  EXPECT_NE(second.err.find("already listens"), std::string::npos) << second.err;

  const auto listed = RunTool("qmtool", {"progman", "list", "--json"}, Env());
  ASSERT_EQ(listed.exitCode, 0) << listed.err;
  const auto expected = nlohmann::json::parse(R"({"groups":[{"name":"QM2","items":[{"name":"Remove QM",
      "command":"C:\\QM\\QM.EXE /U","icon":"C:\\QM\\QM.ICO","iconIndex":1,"hotkey":0,"minimized":true}]}]})");
  EXPECT_EQ(nlohmann::json::parse(listed.out), expected);
  const auto text = RunTool("qmtool", {"progman", "list"}, Env());
  EXPECT_NE(text.out.find("QM2\n  Remove QM\n    command: C:\\QM\\QM.EXE /U\n"), std::string::npos) << text.out;

  // The detached server ends on request and takes its socket with it.
  EXPECT_TRUE(client.Execute("[ExitProgman()]"));
  for (int i = 0; i < 100 && fs::exists(platform::dde::ProgmanSocketPath()); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_FALSE(fs::exists(platform::dde::ProgmanSocketPath()));
}

TEST_F(QmtoolProgman, ServeEndsOnSigterm) {
  const std::string tool = QM_BIN_DIR "/qmtool";
  const std::string root = machine_.Root().string();
  const char* argv[] = {tool.c_str(), "progman", "serve", "--root", root.c_str(), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, tool.c_str(), nullptr, nullptr, const_cast<char**>(argv), environ), 0);
  DdeClient client;
  bool connected = false;
  for (int i = 0; i < 200 && !connected; ++i) {
    connected = client.Connect("PROGMAN", "PROGMAN");
    if (!connected) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(connected);
  ::kill(pid, SIGTERM);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_FALSE(fs::exists(platform::dde::ProgmanSocketPath()));
}

}  // namespace
