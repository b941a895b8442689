#pragma once
// Injected faults, for tests of what a run does when the machine fails it.
//
//   QMSETUP_FAULT=N:KIND        the N-th counted operation of this process (1
//                               is the first) fails with KIND: enospc, eio or
//                               eacces; every other operation runs as usual.
//   QMSETUP_FAULT_COUNT=FILE    every counted operation appends a line
//                               "PID N OPERATION NAME" to FILE.
//
// The operations counted are those that open, change or remove something of
// the machine: file opens and creations, writes, closes of written files,
// moves, deletions, directories made or removed, attribute and time changes,
// registry keys created or deleted and values set or deleted. The variables
// are read once, on the first counted operation; without them a fault point
// costs one test of a flag.

#include <string_view>

namespace platform {

namespace fault_detail {
bool Enabled();
int Count(std::string_view operation, std::string_view name);
}  // namespace fault_detail

// Counts one operation; the errno it must fail with, or 0 when it runs.
inline int InjectedFault(std::string_view operation, std::string_view name) {
  return fault_detail::Enabled() ? fault_detail::Count(operation, name) : 0;
}

}  // namespace platform
