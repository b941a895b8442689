#pragma once
// Runs a program as a child process and measures it from the outside: wall
// time from fork to its end, and its peak resident set as wait4 reports it.
//
// The child is made with fork, not posix_spawn: a vfork-style child execs
// from the parent's address space, and Linux carries that address space's
// high-water mark into the child's ru_maxrss. After fork the child only
// inherits what the parent holds resident at that moment, so a small parent
// gives a small floor; FloorKb measures it with /bin/true.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace install_bench {

struct ChildResult {
  int exitCode = -1;  // 128 + signal when a signal ended it
  double seconds = 0;
  double userSeconds = 0;    // CPU time in the child, ru_utime
  double systemSeconds = 0;  // and in the kernel for it, ru_stime
  long peakKb = 0;           // ru_maxrss
};

struct ChildCommand {
  std::vector<std::string> argv;         // argv[0] is looked up on PATH
  std::vector<std::string> environment;  // "NAME=value", added to (or replacing in) ours
  std::filesystem::path stdoutPath = "/dev/null";
  std::filesystem::path stderrPath = "/dev/null";
};

// Runs the child to its end. Raises std::runtime_error when it cannot start.
ChildResult RunTimed(const ChildCommand& command);

// A child that the caller watches while it runs. A child still running when
// the object goes is killed and reaped, so none is left behind.
class StartedChild {
 public:
  explicit StartedChild(const ChildCommand& command);  // raises when it cannot start
  ~StartedChild();
  StartedChild(const StartedChild&) = delete;
  StartedChild& operator=(const StartedChild&) = delete;

  // Seconds since the fork.
  double Elapsed() const;
  // Its figures once it has ended; nullopt while it runs.
  std::optional<ChildResult> TryWait();
  // Waits until it has ended.
  ChildResult Wait();
  // Ends it with SIGKILL and reaps it: its figures up to then.
  ChildResult Kill();

 private:
  std::optional<ChildResult> Reap(int options);

  std::string name_;
  int pid_ = -1;  // -1 once reaped
  std::chrono::steady_clock::time_point start_;
};

// The peak resident set of /bin/true started like every other child: what
// any child's figure includes before it does anything.
long FloorKb();

}  // namespace install_bench
