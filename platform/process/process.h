#pragma once
// Starting programs of the emulated machine. A program is named by its Windows
// path and gets its argument vector exactly as given: no shell, no quoting,
// and its first entry is the started program's first argument (by convention
// its own name). As on Windows every file is runnable whatever its mode bits
// (installed files carry the archive's attributes, not an execute bit): a file
// that starts with "#!" runs through the interpreter that line names, an ELF
// file runs directly. Anything else cannot be started.

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

// Replaces the running process by program with arguments. Returns only when
// the program cannot be started, with the process unchanged.
void ReplaceProcess(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace platform
