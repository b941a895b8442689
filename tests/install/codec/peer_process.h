#pragma once
// Runs another program (an independent archiver) the way a shell would, but
// without one: the argument vector as given, standard output into a file,
// standard error collected. Free of GoogleTest, so the benchmarks use it too.

#include <string>
#include <vector>

namespace qmtest {

// The full path of a program found on PATH, or empty when there is none.
std::string FindProgram(const std::string& name);

struct PeerResult {
  bool started = false;  // false: the program could not be run at all
  int exitCode = -1;     // 128 + signal when a signal ended it
  std::string err;
};

// Runs argv[0] (looked up on PATH) with its standard input from /dev/null and
// its standard output into stdoutPath ("/dev/null" to drop it), in
// workingDirectory when one is given, and waits for it.
PeerResult RunPeer(const std::vector<std::string>& argv, const std::string& stdoutPath,
                   const std::string& workingDirectory = {});

}  // namespace qmtest
