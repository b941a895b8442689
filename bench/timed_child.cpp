#include "bench/timed_child.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace install_bench {
namespace {

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra) {
  std::vector<std::string> merged;
  const auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    bool replaced = false;
    for (const std::string& x : extra) replaced = replaced || nameOf(x) == nameOf(entry);
    if (!replaced) merged.push_back(entry);
  }
  merged.insert(merged.end(), extra.begin(), extra.end());
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

}  // namespace

StartedChild::StartedChild(const ChildCommand& command) : name_(command.argv.at(0)) {
  // Everything the child needs is prepared before fork: after it, only
  // async-signal-safe calls.
  std::vector<std::string> argText = command.argv;
  std::vector<std::string> envText = MergedEnvironment(command.environment);
  const std::vector<char*> argv = Pointers(argText);
  const std::vector<char*> envp = Pointers(envText);
  const std::string out = command.stdoutPath.string();
  const std::string err = command.stderrPath.string();

  start_ = std::chrono::steady_clock::now();
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("cannot fork for " + name_);
  if (pid_ == 0) {
    const int in = ::open("/dev/null", O_RDONLY);
    const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || o < 0 || e < 0) ::_exit(127);
    ::dup2(in, 0);
    ::dup2(o, 1);
    ::dup2(e, 2);
    ::execvpe(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
}

StartedChild::~StartedChild() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

double StartedChild::Elapsed() const {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

std::optional<ChildResult> StartedChild::Reap(int options) {
  int status = 0;
  struct rusage usage {};
  const pid_t got = ::wait4(pid_, &status, options, &usage);
  if (got == 0) return std::nullopt;
  if (got != pid_) throw std::runtime_error("lost the child " + name_);
  pid_ = -1;
  ChildResult result;
  result.seconds = Elapsed();
  result.userSeconds = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6;
  result.systemSeconds = usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
  result.peakKb = usage.ru_maxrss;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return result;
}

std::optional<ChildResult> StartedChild::TryWait() {
  if (pid_ < 0) throw std::runtime_error(name_ + " was reaped already");
  return Reap(WNOHANG);
}

ChildResult StartedChild::Wait() {
  if (pid_ < 0) throw std::runtime_error(name_ + " was reaped already");
  return *Reap(0);
}

ChildResult StartedChild::Kill() {
  if (pid_ < 0) throw std::runtime_error(name_ + " was reaped already");
  ::kill(pid_, SIGKILL);
  return *Reap(0);
}

ChildResult RunTimed(const ChildCommand& command) { return StartedChild(command).Wait(); }

long FloorKb() {
  ChildCommand command;
  command.argv = {"/bin/true"};
  return RunTimed(command).peakKb;
}

}  // namespace install_bench
