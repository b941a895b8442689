// Programs of the machine started by Windows path: scripts and ELF files run
// whatever their mode bits, with exactly the vector given; what cannot run is
// refused before anything starts; and the ways of waiting for a program, or not.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/process/process.h"
#include "tests/common/temp_machine.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class ProcessTest : public ::testing::Test {
 protected:
  // A file on drive C:, without any execute bit, as installed files are.
  std::string Place(const std::string& name, const std::string& text) {
    const fs::path host = machine_.DriveC() / name;
    qmtest::WriteFileText(host, text);
    fs::permissions(host, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::others_read);
    return "C:\\" + name;
  }

  std::string PlaceCopyOf(const fs::path& program, const std::string& name) {
    return Place(name, qmtest::ReadFileText(fs::canonical(program)));
  }

  fs::path Host(const std::string& name) const { return machine_.DriveC() / name; }

  // Waits up to 10 s for a file that another process writes.
  bool AppearsSoon(const fs::path& file) const {
    const auto deadline = Clock::now() + 10s;
    while (!fs::exists(file)) {
      if (Clock::now() > deadline) return false;
      std::this_thread::sleep_for(10ms);
    }
    return true;
  }

  qmtest::TempMachineRoot machine_;
};

// Writes $0 and then each argument on a line of its own to the file $OUT names.
constexpr const char* kEchoScript =
    "#!/bin/sh\n"
    "{ printf '%s\\n' \"$0\"; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > \"$(dirname \"$0\")/args.txt\"\n";

TEST_F(ProcessTest, ScriptWithoutExecuteBitGetsItsPathThenTheVectorAfterItsFirstEntry) {
  const std::string script = Place("ECHO ARGS.SH", kEchoScript);
  const struct {
    std::vector<std::string> arguments;
    std::string expected;  // after the script's own path
  } cases[] = {
      {{"ignored"}, ""},
      {{"x", "one", "two words", ""}, "[one]\n[two words]\n[]\n"},
      {{"x", "$HOME", "*", "a\"b'c", "/U"}, "[$HOME]\n[*]\n[a\"b'c]\n[/U]\n"},
  };
  for (const auto& c : cases) {
    fs::remove(Host("args.txt"));
    ASSERT_EQ(RunProgramAndWait(script, c.arguments), 0);
    EXPECT_EQ(qmtest::ReadFileText(Host("args.txt")), Host("ECHO ARGS.SH").string() + "\n" + c.expected);
  }
}

// ELF files without execute bit, a script's one interpreter option, signals.
TEST_F(ProcessTest, ExitStatusComesBackFromEveryKindOfProgram) {
  const std::string shell = PlaceCopyOf("/bin/sh", "SH.EXE");
  const struct {
    std::string program;
    std::vector<std::string> arguments;
    int status;
  } cases[] = {
      {shell, {"sh", "-c", "exit 5"}, 5},
      // The vector is the program's own: its first entry is its $0.
      {shell, {"sh", "-c", "[ \"$0\" = named ] && [ \"$1\" = 'a b' ]", "named", "a b"}, 0},
      {Place("OPT.SH", "#!/bin/sh -e\nfalse\nexit 0\n"), {"OPT.SH"}, 1},
      {Place("KILL.SH", "#!/bin/sh\nkill -9 $$\n"), {"KILL.SH"}, 128 + 9},
      {Place("TERM.SH", "#!/bin/sh\nkill -15 $$\n"), {"TERM.SH"}, 128 + 15},
  };
  for (const auto& c : cases) EXPECT_EQ(RunProgramAndWait(c.program, c.arguments), c.status) << c.arguments.back();
}

TEST_F(ProcessTest, WhatCannotRunIsRefusedAndNothingRuns) {
  const std::string marker = (machine_.DriveC() / "ran").string();
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"TEXT.TXT", "echo ran > " + marker + "\n"},
      {"NOINTERP.SH", "#!/no/such/interpreter\necho ran > " + marker + "\n"},
      {"EMPTYLINE.SH", "#!\necho ran > " + marker + "\n"},
      {"SHORT.BIN", "\x7f"},
      {"EMPTY.EXE", ""},
  };
  for (const auto& c : cases) {
    const std::string program = Place(c.name, c.text);
    EXPECT_FALSE(RunProgramAndWait(program, {c.name})) << c.name;
    EXPECT_FALSE(StartProgramDetached(program, {c.name})) << c.name;
    EXPECT_FALSE(ChildProcess::Start(program, {c.name})) << c.name;
  }
  EXPECT_FALSE(RunProgramAndWait("C:\\MISSING.EXE", {"MISSING.EXE"}));
  EXPECT_FALSE(RunProgramAndWait("Q:\\UNMAPPED.EXE", {"UNMAPPED.EXE"}));
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(fs::exists(marker));
}

// Runs until the file "go" beside it exists, then writes "done" beside it and ends with 3.
constexpr const char* kWaitingScript =
    "#!/bin/sh\n"
    "dir=$(dirname \"$0\")\n"
    "while [ ! -e \"$dir/go\" ]; do sleep 0.02; done\n"
    "echo > \"$dir/done\"\n"
    "exit 3\n";

TEST_F(ProcessTest, DetachedProgramRunsOnAfterTheCallReturns) {
  const std::string script = Place("WAIT.SH", kWaitingScript);
  ASSERT_TRUE(StartProgramDetached(script, {"WAIT.SH"}));
  EXPECT_FALSE(fs::exists(Host("done")));
  qmtest::WriteFileText(Host("go"), "");
  EXPECT_TRUE(AppearsSoon(Host("done")));
}

TEST_F(ProcessTest, ChildProcessIsWaitedForLater) {
  std::optional<ChildProcess> child = ChildProcess::Start(Place("WAIT.SH", kWaitingScript), {"WAIT.SH"});
  ASSERT_TRUE(child);
  EXPECT_GT(child->Id(), 0);
  EXPECT_FALSE(child->WaitFor(0ms));
  EXPECT_FALSE(child->WaitFor(50ms));
  EXPECT_FALSE(fs::exists(Host("done")));

  qmtest::WriteFileText(Host("go"), "");
  EXPECT_EQ(child->WaitFor(10s), 3);
  EXPECT_TRUE(fs::exists(Host("done")));
  // Once ended it stays ended, however it is asked.
  EXPECT_EQ(child->WaitFor(0ms), 3);
  EXPECT_EQ(child->Wait(), 3);

  // Moved, it is waited for once, by its new owner.
  std::optional<ChildProcess> second = ChildProcess::Start(PlaceCopyOf("/bin/sh", "SH.EXE"), {"sh", "-c", "exit 4"});
  ASSERT_TRUE(second);
  ChildProcess moved(std::move(*second));
  second.reset();
  EXPECT_EQ(moved.Wait(), 4);
}

// In a forked child: ReplaceProcess, then _exit(42) should it return.
int ReplaceInChild(const std::string& program, const std::vector<std::string>& arguments) {
  const pid_t child = ::fork();
  if (child == 0) {
    ReplaceProcess(program, arguments);
    ::_exit(42);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ProcessTest, ReplaceProcessRunsTheProgramInPlaceOrReturns) {
  EXPECT_EQ(ReplaceInChild(Place("SEVEN.SH", "#!/bin/sh\nexit 7\n"), {"SEVEN.SH"}), 7);
  EXPECT_EQ(ReplaceInChild(PlaceCopyOf("/bin/sh", "SH.EXE"), {"sh", "-c", "exit 9"}), 9);
  EXPECT_EQ(ReplaceInChild(Place("NOTE.TXT", "just text\n"), {"NOTE.TXT"}), 42);
  EXPECT_EQ(ReplaceInChild("C:\\MISSING.PIF", {"MISSING.PIF"}), 42);
}

}  // namespace
}  // namespace platform
