#include "tests/install/codec/peer_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace qmtest {

std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string directories = path != nullptr ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= directories.size()) {
    std::size_t end = directories.find(':', start);
    if (end == std::string::npos) end = directories.size();
    const std::string candidate = directories.substr(start, end - start) + "/" + name;
    if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

PeerResult RunPeer(const std::vector<std::string>& argv, const std::string& stdoutPath,
                   const std::string& workingDirectory) {
  PeerResult result;
  if (argv.empty()) return result;
  const std::string program = FindProgram(argv[0]);
  if (program.empty()) {
    result.err = argv[0] + ": not installed";
    return result;
  }

  char errName[] = "/tmp/qm-peer-err-XXXXXX";
  const int errFd = ::mkstemp(errName);
  if (errFd < 0) throw std::runtime_error("cannot create a capture file");

  std::vector<std::string> argText = argv;
  std::vector<char*> args;
  for (std::string& a : argText) args.push_back(a.data());
  args.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, errFd, 2);
  if (!workingDirectory.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
  pid_t pid = 0;
  const int rc = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(errFd);

  if (rc == 0) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.started = true;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  std::ifstream in(errName, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  result.err = text.str();
  std::remove(errName);
  return result;
}

}  // namespace qmtest
