#pragma once
// The removal: the installed setup program runs from a copy in a private
// directory (so that it can remove the install directory, itself included),
// with the profile beside it and "remove.pif", which the removal run starts in
// its place at its very end. We wait for its done message and its end, then
// clear the private directory.

#include <string>

namespace unsetup {

// Exit statuses of our own; otherwise the removal run's status is ours.
inline constexpr int kExitCannotStart = 3;

struct RemovalRequest {
  std::string installDir;  // Windows path with a trailing backslash
  bool batch = false;      // /B passed on: no display, nobody asked
};

// Runs the removal and returns the exit status: the removal run's (0 done,
// 1 cancelled, ...), or kExitCannotStart when nothing could be started, in
// which case nothing was changed. Messages go to stderr.
int RunRemoval(const RemovalRequest& request);

}  // namespace unsetup
