#pragma once
// Starting programs of the emulated machine. A program is named by its Windows
// path and gets its argument vector exactly as given: no shell, no quoting,
// and its first entry is the started program's first argument (by convention
// its own name). As on Windows every file is runnable whatever its mode bits
// (installed files carry the archive's attributes, not an execute bit): a file
// that starts with "#!" runs through the interpreter that line names, an ELF
// file runs directly. Anything else cannot be started.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Starts program with arguments and waits until it has ended. Its exit status
// (128 + the signal number for one ended by a signal); nullopt when the
// program cannot be started (missing, not a program, no interpreter), in
// which case nothing was run.
std::optional<int> RunProgramAndWait(const std::string& program, const std::vector<std::string>& arguments);

// Starts program with arguments and does not wait for it: it runs on after
// the caller has ended. False when it cannot be started.
bool StartProgramDetached(const std::string& program, const std::vector<std::string>& arguments);

// A program started without waiting for it, to be waited for later. The
// object waits for the program to end, at the latest when it goes, so none is
// left behind unreaped.
class ChildProcess {
 public:
  // Starts program with arguments; nullopt, with nothing run, when it cannot
  // be started.
  static std::optional<ChildProcess> Start(const std::string& program, const std::vector<std::string>& arguments);

  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&& other) = delete;
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  // The host's process id.
  int Id() const { return pid_; }
  // The exit status (as RunProgramAndWait gives it) once the program has
  // ended, waiting at most timeout for that; nullopt while it runs on.
  std::optional<int> WaitFor(std::chrono::milliseconds timeout);
  // Waits until the program has ended; its exit status.
  int Wait();

 private:
  explicit ChildProcess(int pid) : pid_(pid) {}
  int pid_ = -1;  // -1 once moved from
  std::optional<int> status_;
};

// Replaces the running process by program with arguments. Returns only when
// the program cannot be started, with the process unchanged.
void ReplaceProcess(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace platform
