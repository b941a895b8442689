// The wizard driven by a real keyboard: qmsetup on an X server of its own
// (Xvfb, no window manager), the pointer moved off the page, and key presses
// sent by xdotool as a keyboard sends them. What the program shows is read
// from its trace file (QMSETUP_TRACE): each step sends its keys and then waits
// for the trace line it expects, polling with a time-out.
//
// Skipped when Xvfb or xdotool is not installed.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/app/setup_media.h"
#include "tests/common/temp_dir.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kStepTimeout = 30s;  // generous: a sanitizer build on a busy machine is slow
constexpr auto kPollInterval = 20ms;

// The program named in PATH; empty when there is none.
std::string FindInPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path != nullptr ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const std::filesystem::path candidate = std::filesystem::path(dir.empty() ? "." : dir) / name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return {};
}

// The inherited environment with the given entries ("NAME=value") in place of
// inherited ones of the same name.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& given) {
  auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry(*e);
    bool replaced = false;
    for (const std::string& g : given) replaced = replaced || nameOf(g) == nameOf(entry);
    if (!replaced) env.push_back(entry);
  }
  env.insert(env.end(), given.begin(), given.end());
  return env;
}

// A program started by the test and ended by it, by its process id, when the
// test has not waited for it.
class Child {
 public:
  // Starts path with args; output goes to outputFile (or nowhere). When
  // passFd >= 0 the child gets it as descriptor 3.
  Child(const std::string& path, const std::vector<std::string>& args, const std::vector<std::string>& env,
        const std::string& outputFile = "/dev/null", int passFd = -1) {
    std::vector<std::string> argvText{path};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argvText) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> envText = EnvironmentWith(env);
    std::vector<char*> envp;
    for (std::string& e : envText) envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outputFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (passFd >= 0) posix_spawn_file_actions_adddup2(&actions, passFd, 3);
    if (posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = 0;
    posix_spawn_file_actions_destroy(&actions);
  }

  ~Child() {
    if (pid_ == 0) return;
    kill(pid_, SIGTERM);
    if (!Wait(5s)) {
      kill(pid_, SIGKILL);
      Wait(5s);
    }
  }

  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  bool Started() const { return pid_ != 0; }

  // The exit status once the child has ended within timeout (128 + signal
  // when a signal ended it); nothing while it still runs.
  std::optional<int> Wait(std::chrono::milliseconds timeout) {
    if (status_) return status_;
    const auto end = Clock::now() + timeout;
    while (pid_ != 0) {
      int status = 0;
      const pid_t done = waitpid(pid_, &status, WNOHANG);
      if (done == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        pid_ = 0;
        break;
      }
      if (done < 0 || Clock::now() >= end) break;
      std::this_thread::sleep_for(kPollInterval);
    }
    return status_;
  }

 private:
  pid_t pid_ = 0;
  std::optional<int> status_;
};

// An X server of its own on a display number it picks itself (-displayfd), so
// that tests running at the same time do not meet.
class XServer {
 public:
  explicit XServer(const std::string& xvfb) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    server_.emplace(xvfb,
                    std::vector<std::string>{"-displayfd", "3", "-screen", "0", "800x600x24", "-nolisten", "tcp"},
                    std::vector<std::string>{}, "/dev/null", fds[1]);
    close(fds[1]);
    // The server writes its display number once it accepts clients.
    std::string number;
    const auto end = Clock::now() + 10s;
    pollfd ready{fds[0], POLLIN, 0};
    while (Clock::now() < end && number.find('\n') == std::string::npos) {
      if (poll(&ready, 1, 100) <= 0) continue;
      char buffer[16];
      const ssize_t n = read(fds[0], buffer, sizeof buffer);
      if (n <= 0) break;
      number.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    if (number.find('\n') != std::string::npos) display_ = ":" + number.substr(0, number.find('\n'));
  }

  // ":N", or empty when the server did not start.
  const std::string& Display() const { return display_; }

 private:
  std::optional<Child> server_;
  std::string display_;
};

// One step of a key script: send keys (xdotool key names), then wait for the
// trace line expect. An empty expect waits for nothing.
struct KeyStep {
  std::vector<std::string> keys;
  std::string expect;
};

struct KeyScript {
  const char* name;
  std::vector<KeyStep> steps;
  std::optional<int> exitCode;  // when the script ends the run: its status
};

// Lines of the trace: "page 102 waiting", "dialog 0 shown", "focus 102 1" (page
// 102, control 1). Control ids: 1 Next, 2 Cancel, 1027 Back, 1016 the licence
// text, 1001 the destination directory, 4 Browse, 1003 the browse dialog's new
// subdirectory, 1019-1021 the setup types, 1018 the custom page's check list,
// 1006 the program folder, 1045 the summary text, 6 Yes of the question box. A
// step that leads to a new page waits for its focus line: the page has the
// keyboard then, and the next keys reach it.
const KeyScript kScripts[] = {
    {"EnterPressesNext",
     {{{}, "focus 102 1"}, {{"Return"}, "focus 128 1016"}, {{"Return"}, "focus 104 1001"}},
     std::nullopt},
    {"EscapeAsksAndNoKeepsThePage",
     {{{}, "focus 102 1"},
      {{"Escape"}, "dialog 0 shown"},
      {{}, "focus 0 6"},
      {{"n"}, "focus 102 1"},
      {{"Return"}, "focus 128 1016"}},
     std::nullopt},
    {"EscapeAsksAndYesEndsOnPage116",
     {{{}, "focus 102 1"}, {{"Escape"}, "dialog 0 shown"}, {{}, "focus 0 6"}, {{"y"}, "focus 116 1"}, {{"Return"}, ""}},
     1},
    {"AltLetterAnswersTheQuestionToo",
     {{{}, "focus 102 1"}, {{"Escape"}, "focus 0 6"}, {{"alt+n"}, "focus 102 1"}, {{"Return"}, "focus 128 1016"}},
     std::nullopt},
    {"TabMovesTheFocus",
     {{{}, "focus 102 1"},
      {{"Tab"}, "focus 102 2"},
      {{"Tab"}, "focus 102 1"},  // Back is disabled: Tab goes round
      {{"Return"}, "focus 128 1016"},
      {{"Tab"}, "focus 128 1027"},
      {{"shift+Tab"}, "focus 128 1016"}},
     std::nullopt},
    {"AltLetterPressesTheButton",
     {{{}, "focus 102 1"}, {{"alt+n"}, "focus 128 1016"}, {{"alt+b"}, "focus 102 1"}},
     std::nullopt},
    // "&Browse..." and "<- &Back" share their letter: as on Windows, Alt+B then
    // takes the focus to the first of them, and Enter presses it.
    {"AltBThenEnterBrowsesFromTheDestination",
     {{{}, "focus 102 1"},
      {{"Return"}, "focus 128 1016"},
      {{"Return"}, "focus 104 1001"},
      {{"alt+b"}, "focus 104 4"},
      {{"Return"}, "dialog 1536 shown"},
      {{}, "focus 1536 1003"},
      {{"Escape"}, "focus 104 4"},
      {{"alt+b"}, "focus 104 1027"},
      {{"Return"}, "focus 128 1016"}},
     std::nullopt},
    // Space presses the focused Custom button and ticks in the check list; with
    // nothing ticked, Next says so and the page keeps the keyboard.
    {"SpaceChoosesCustomAndTicksTheList",
     {{{}, "focus 102 1"},
      {{"Return"}, "focus 128 1016"},
      {{"Return"}, "focus 104 1001"},
      {{"Return"}, "focus 125 1019"},
      {{"Tab"}, "focus 125 1020"},
      {{"Tab"}, "focus 125 1021"},
      {{"space"}, "focus 127 1018"},
      {{"space"}, ""},
      {{"Return"}, "dialog 0 shown"},
      {{"Return"}, "focus 127 1018"},
      {{"space"}, ""},
      {{"Return"}, "focus 106 1006"}},
     std::nullopt},
    {"EnterGoesFromTheSummaryToTheEnd",
     {{{}, "focus 102 1"},
      {{"Return"}, "focus 128 1016"},
      {{"Return"}, "focus 104 1001"},
      {{"Return"}, "focus 125 1019"},
      {{"Return"}, "focus 106 1006"},
      {{"Return"}, "focus 152 1045"},
      // The delay question before the copy: Enter answers its default, "No".
      {{"Return"}, "focus 143 2"},
      {{"Return"}, "page 115 waiting"},
      {{"Return"}, ""}},
     0},
};

void PrintTo(const KeyScript& script, std::ostream* out) { *out << script.name; }

class KeyboardTest : public ::testing::TestWithParam<KeyScript> {
 protected:
  void SetUp() override {
    xvfb_ = FindInPath("Xvfb");
    xdotool_ = FindInPath("xdotool");
    if (xvfb_.empty() || xdotool_.empty()) GTEST_SKIP() << "Xvfb or xdotool is not installed";
    media_.CopyProgram(std::filesystem::path(QM_BIN_DIR) / "qmsetup");
  }

  // Runs xdotool on the test's display; true when it succeeded.
  bool XDo(const std::vector<std::string>& args) const {
    Child xdo(xdotool_, args, {"DISPLAY=" + display_});
    const std::optional<int> status = xdo.Wait(10s);
    return status && *status == 0;
  }

  // Waits until the trace holds line after offset, and moves offset past it.
  bool WaitForLine(const std::string& line, std::size_t& offset) const {
    const auto end = Clock::now() + kStepTimeout;
    do {
      const std::string trace = qmtest::ReadFileText(TraceFile());
      std::size_t at = offset;
      while (at < trace.size()) {
        const std::size_t eol = trace.find('\n', at);
        if (eol == std::string::npos) break;  // a line still being written
        if (trace.compare(at, eol - at, line) == 0) {
          offset = eol + 1;
          return true;
        }
        at = eol + 1;
      }
      std::this_thread::sleep_for(kPollInterval);
    } while (Clock::now() < end);
    return false;
  }

  std::filesystem::path TraceFile() const { return work_ / "trace"; }

  std::string xvfb_;
  std::string xdotool_;
  std::string display_;
  qmtest::SetupMedia media_;
  qmtest::TempDir work_{"qm-keys"};
};

TEST_P(KeyboardTest, KeysDriveTheWizard) {
  const KeyScript& script = GetParam();
  XServer server(xvfb_);
  display_ = server.Display();
  ASSERT_FALSE(display_.empty()) << "Xvfb did not start";
  // The pointer rests on the background, away from every page: keys must reach
  // the page because it has the focus, not because the pointer is over it.
  ASSERT_TRUE(XDo({"mousemove", "0", "0"}));

  Child setup(media_.Program().string(), {},
              {"DISPLAY=" + display_, "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM=",
               "QMSETUP_SYSTEM=" + media_.Machine().Root().string(), "XDG_RUNTIME_DIR=" + work_.Path().string(),
               "QMSETUP_TRACE=" + TraceFile().string(),
               // A sanitized build reports what the X and bus libraries keep
               // for the process's life as leaks; ours stay reported.
               "LSAN_OPTIONS=suppressions=" QM_LSAN_SUPPRESSIONS_FILE},
              (work_ / "output").string());
  ASSERT_TRUE(setup.Started());

  std::size_t offset = 0;
  for (const KeyStep& step : script.steps) {
    for (const std::string& key : step.keys) ASSERT_TRUE(XDo({"key", key})) << key;
    if (step.expect.empty()) continue;
    ASSERT_TRUE(WaitForLine(step.expect, offset))
        << "waiting for \"" << step.expect << "\"\ntrace:\n"
        << qmtest::ReadFileText(TraceFile()).substr(std::min(offset, qmtest::ReadFileText(TraceFile()).size()))
        << "output:\n"
        << qmtest::ReadFileText(work_ / "output");
  }
  if (script.exitCode) {
    const std::optional<int> status = setup.Wait(kStepTimeout);
    ASSERT_TRUE(status.has_value()) << "the run did not end";
    EXPECT_EQ(*status, *script.exitCode) << qmtest::ReadFileText(work_ / "output");
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, KeyboardTest, ::testing::ValuesIn(kScripts),
                         [](const ::testing::TestParamInfo<KeyScript>& info) { return std::string(info.param.name); });

}  // namespace
