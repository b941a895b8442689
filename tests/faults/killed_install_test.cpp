// The sample install killed with SIGKILL at instants spread from its first
// millisecond to its last. After each kill the install log reads, no file under
// a final name is partly written, and a removal run leaves the machine as it
// was before the install: files, registry and Program Manager groups.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/common/temp_dir.h"
#include "tests/common/drive_contents.h"
#include "tests/tools/machine_runs.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const fs::path kSample = QM_SAMPLE_DIR;
const fs::path kBin = QM_BIN_DIR;

// Under the sanitizers a run takes seconds: fewer instants, spread the same way.
#ifdef QM_KILL_INSTANTS
constexpr int kInstants = QM_KILL_INSTANTS;
#else
constexpr int kInstants = 50;
#endif

// Files that grow by whole records as the install goes on: the log and the
// settings (line by line, through the private-profile writer) and a Program
// Manager group (rewritten whole with each item). A kill leaves some of their
// records, never a partial one (the writers' own tests).
bool GrowsByRecords(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  return lower.ends_with("/qmw.log") || lower.ends_with("/qmw2.ini") || lower.ends_with(".grp");
}

class KilledInstallTest : public ::testing::TestWithParam<const char*> {
 protected:
  KilledInstallTest() : env_(qmtest::MachineRunEnvironment(Machine(), Runtime())) {}
  ~KilledInstallTest() override { qmtest::StopProgramManager(Machine()); }

  fs::path Machine() const { return temp_.Path() / "machine"; }
  fs::path Pristine() const { return temp_.Path() / "pristine"; }
  fs::path Runtime() const { return temp_.Path() / "runtime"; }
  fs::path Setup() const { return temp_.Path() / "media" / "DISK01" / "SETUP.EXE"; }

  void MakeMediaAndMachine() {
    const fs::path media = temp_.Path() / "media";
    ASSERT_EQ(Tool({"system", "init", "--root", Pristine().string(), "--platform", GetParam(), "--drive",
                    "D=cdrom," + media.string()})
                  .exitCode,
              0);
    const qmtest::ToolResult built = Tool({"media", "build", (kSample / "manifest.ini").string(), media.string()});
    ASSERT_EQ(built.exitCode, 0) << built.err;
    fs::copy_file(kBin / "qmsetup", Setup(), fs::copy_options::overwrite_existing);
    // The install copies the setup program too; without its debugging
    // information that copy is a tenth as long, and so is every round.
    qmtest::RunProgram("/usr/bin/strip", {"--strip-debug", Setup().string()});
  }

  void FreshMachine() const {
    qmtest::StopProgramManager(Machine());
    fs::remove_all(Machine());
    fs::copy(Pristine(), Machine(), fs::copy_options::recursive);
  }

  qmtest::ToolResult Tool(const std::vector<std::string>& args) const { return qmtest::RunTool("qmtool", args, env_); }
  qmtest::ToolResult RunSetup(const std::vector<std::string>& args) const {
    return qmtest::RunProgram(Setup().string(), args, env_);
  }

  // Starts a batch install, kills it after `delay` unless it ended before;
  // true when the kill found it running.
  bool InstallKilledAfter(Clock::duration delay) const {
    const pid_t child = ::fork();
    if (child == 0) {
      for (const std::string& entry : env_) ::putenv(const_cast<char*>(entry.c_str()));
      const std::string program = Setup().string();
      ::execl(program.c_str(), program.c_str(), "/B", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  }

  std::string Groups() const { return Tool({"progman", "list"}).out; }

  qmtest::TempDir temp_{"qm-killed"};
  std::vector<std::string> env_;
};

TEST_P(KilledInstallTest, EveryInstantLeavesALogThatRemovesEverything) {
  MakeMediaAndMachine();
  FreshMachine();
  const fs::path drive = Machine() / "drive_c";
  const auto before = qmtest::DriveContents(drive);
  const std::string registryBefore = Tool({"reg", "export"}).out;
  const std::string groupsBefore = Groups();

  // A whole install: what it puts under final names, and how long it takes
  // once the program is in the page cache (the second of two runs).
  Clock::duration installTime{};
  std::map<std::string, std::string> installed;
  for (int run = 0; run < 2; ++run) {
    FreshMachine();
    const auto started = Clock::now();
    ASSERT_EQ(RunSetup({"/B"}).exitCode, 0);
    installTime = Clock::now() - started;
    installed = qmtest::DriveContents(drive);
  }

  int killedRunning = 0;
  for (int instant = 0; instant < kInstants; ++instant) {
    FreshMachine();
    const Clock::duration delay = installTime * instant / (kInstants - 1);
    const std::string where =
        "killed after " + std::to_string(std::chrono::duration_cast<std::chrono::microseconds>(delay).count()) + " us";
    if (InstallKilledAfter(delay)) ++killedRunning;

    // The log reads, as far as it got.
    if (fs::exists(drive / "WINDOWS" / "Qmw.log")) {
      const qmtest::ToolResult shown = Tool({"log", "show", "--json"});
      EXPECT_EQ(shown.exitCode, 0) << where << "\n" << shown.err;
      EXPECT_TRUE(nlohmann::json::accept(shown.out)) << where << "\n" << shown.out;
    }
    // A final name holds the whole file or nothing; other names are the
    // install's temporary files, which the removal must find.
    for (const auto& [name, bytes] : qmtest::DriveContents(drive)) {
      const auto old = before.find(name);
      if ((old != before.end() && old->second == bytes) || GrowsByRecords(name)) continue;
      const auto whole = installed.find(name);
      if (whole != installed.end()) {
        EXPECT_EQ(bytes, whole->second) << where << ": " << name << " is partly written";
      }
    }

    const qmtest::ToolResult removal = RunSetup({"/U", "/B", "/D:C:\\QMW2\\"});
    EXPECT_EQ(removal.exitCode, 0) << where << "\n" << removal.err;
    const auto after = qmtest::DriveContents(drive);
    for (const auto& [name, bytes] : after) {
      EXPECT_TRUE(before.contains(name)) << where << ": left behind " << name;
    }
    for (const auto& [name, bytes] : before) {
      const auto found = after.find(name);
      EXPECT_TRUE(found != after.end() && found->second == bytes) << where << ": lost or changed " << name;
    }
    EXPECT_EQ(Tool({"reg", "export"}).out, registryBefore) << where;
    EXPECT_EQ(Groups(), groupsBefore) << where;
    if (HasFailure()) break;  // one instant at a time is enough to read
  }
  std::cout << GetParam() << ": " << kInstants << " instants over "
            << std::chrono::duration_cast<std::chrono::milliseconds>(installTime).count() << " ms, "
            << killedRunning << " found the install running\n";
}

INSTANTIATE_TEST_SUITE_P(Platforms, KilledInstallTest, ::testing::Values("win95", "nt351"));

}  // namespace
