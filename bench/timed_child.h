#pragma once
// Runs a program as a child process and measures it from the outside: wall
// time from fork to its end, and its peak resident set as wait4 reports it.
//
// The child is made with fork, not posix_spawn: a vfork-style child execs
// from the parent's address space, and Linux carries that address space's
// high-water mark into the child's ru_maxrss. After fork the child only
// inherits what the parent holds resident at that moment, so a small parent
// gives a small floor; FloorKb measures it with /bin/true.

#include <filesystem>
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

// The peak resident set of /bin/true started like every other child: what
// any child's figure includes before it does anything.
long FloorKb();

}  // namespace install_bench
