#pragma once
// Times a child up to lines it writes into a trace file (qmsetup's
// QMSETUP_TRACE): how long until a page is on screen, for a program that
// would go on to wait for a person. The file is watched with inotify, so a
// line is seen within microseconds of its write and the watcher costs no CPU
// while it waits.

#include <filesystem>
#include <string>
#include <vector>

#include "bench/timed_child.h"

namespace install_bench {

struct TracedResult {
  std::vector<double> seconds;  // from the fork to each awaited line, in order
  ChildResult child;            // its figures when it was killed (seconds: up to then)
};

// Starts command with an empty trace file, waits for the awaited lines in
// order (other lines are passed over), then kills the child. Raises
// std::runtime_error when the child ends first or timeoutSeconds pass.
TracedResult RunUntilTraced(const ChildCommand& command, const std::filesystem::path& trace,
                            const std::vector<std::string>& awaited, double timeoutSeconds);

}  // namespace install_bench
