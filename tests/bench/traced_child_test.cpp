// The benchmarks' child runner: exit statuses as the tables report them, and
// timing a child up to lines of its trace.

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <string>

#include "bench/timed_child.h"
#include "bench/traced_child.h"
#include "tests/common/temp_dir.h"

namespace install_bench {
namespace {

ChildCommand Shell(const std::string& script, const std::string& trace = "") {
  ChildCommand command;
  command.argv = {"/bin/sh", "-c", script};
  if (!trace.empty()) command.environment = {"TRACE=" + trace};
  return command;
}

TEST(TimedChild, ReportsTheExitStatusOrTheSignal) {
  const struct {
    const char* script;
    int status;
  } cases[] = {
      {"exit 0", 0},
      {"exit 3", 3},
      {"kill -KILL $$", 128 + 9},
      {"exec /nonexistent/program", 127},
  };
  for (const auto& c : cases) EXPECT_EQ(RunTimed(Shell(c.script)).exitCode, c.status) << c.script;
}

TEST(TracedChild, TimesTheAwaitedLinesInOrderAndEndsTheChild) {
  const qmtest::TempDir dir("traced-child");
  const std::string trace = (dir / "trace").string();
  const auto start = std::chrono::steady_clock::now();
  const TracedResult result = RunUntilTraced(
      Shell("echo first >> \"$TRACE\"; echo other >> \"$TRACE\"; sleep 0.2; echo second >> \"$TRACE\"; exec sleep 60",
            trace),
      trace, {"first", "second"}, 30);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_EQ(result.seconds.size(), 2u);
  EXPECT_GE(result.seconds[1] - result.seconds[0], 0.15);
  EXPECT_EQ(result.child.exitCode, 128 + 9);  // killed once the last line came
  EXPECT_LT(wall, 30);
}

TEST(TracedChild, RaisesWhenTheLineDoesNotComeAndLeavesNoChild) {
  const qmtest::TempDir dir("traced-child");
  const std::string trace = (dir / "trace").string();
  const struct {
    const char* script;
    std::vector<std::string> awaited;
    const char* says;
  } cases[] = {
      {"echo first >> \"$TRACE\"; exit 0", {"first", "second"}, "ended with status 0 before it traced \"second\""},
      // Lines count only in the awaited order.
      {"echo second >> \"$TRACE\"; echo first >> \"$TRACE\"; exec sleep 60", {"first", "second"}, "did not trace"},
      // Half a line is not the line.
      {"printf first >> \"$TRACE\"; exec sleep 60", {"first"}, "did not trace"},
  };
  for (const auto& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    try {
      RunUntilTraced(Shell(c.script, trace), trace, c.awaited, 0.5);
      ADD_FAILURE() << c.script << ": no error";
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find(c.says), std::string::npos) << error.what();
    }
    // The sleeping child was killed, not waited for.
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 10) << c.script;
  }
}

}  // namespace
}  // namespace install_bench
