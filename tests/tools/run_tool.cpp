#include "tests/tools/run_tool.h"

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
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

ToolResult RunTool(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env, const std::string& workingDirectory) {
  return RunProgram(std::string(QM_BIN_DIR) + "/" + program, args, env, workingDirectory);
}

ToolResult RunProgram(const std::string& path, const std::vector<std::string>& args,
                      const std::vector<std::string>& env, const std::string& workingDirectory) {
  char outName[] = "/tmp/qmtool-out-XXXXXX";
  char errName[] = "/tmp/qmtool-err-XXXXXX";
  const int outFd = mkstemp(outName);
  const int errFd = mkstemp(errName);
  if (outFd < 0 || errFd < 0) throw std::runtime_error("cannot create capture files");

  std::vector<std::string> argvText{path};
  argvText.insert(argvText.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argvText) argv.push_back(a.data());
  argv.push_back(nullptr);

  std::vector<std::string> envText;
  // An entry of env replaces the inherited one of its name.
  auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry(*e);
    bool replaced = false;
    for (const std::string& given : env) replaced = replaced || nameOf(given) == nameOf(entry);
    if (!replaced) envText.push_back(entry);
  }
  envText.insert(envText.end(), env.begin(), env.end());
  std::vector<char*> envp;
  for (std::string& e : envText) envp.push_back(e.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outFd, 1);
  posix_spawn_file_actions_adddup2(&actions, errFd, 2);
  if (!workingDirectory.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
  pid_t pid = 0;
  const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(outFd);
  close(errFd);

  ToolResult result;
  if (rc == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  result.out = ReadAll(outName);
  result.err = ReadAll(errName);
  std::remove(outName);
  std::remove(errName);
  return result;
}

}  // namespace qmtest
