#include "platform/process/process.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/fs/path_map.h"

extern char** environ;

namespace platform {
namespace {

// What exec is given: the file to run (a path, or an open file where the
// program cannot be run by its path) and the vector it gets.
struct Launch {
  std::string path;
  int fd = -1;  // a copy in memory of an ELF file that has no execute bit for us
  std::vector<std::string> arguments;

  Launch() = default;
  Launch(const Launch&) = delete;
  Launch& operator=(const Launch&) = delete;
  ~Launch() {
    if (fd >= 0) ::close(fd);
  }

  std::vector<char*> Argv() {
    std::vector<char*> argv;
    for (std::string& arg : arguments) argv.push_back(arg.data());
    argv.push_back(nullptr);
    return argv;
  }
};

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

// "#!INTERPRETER [ONE ARGUMENT]" as the kernel reads it: the script's path
// takes the place of the vector's first entry.
bool PrepareScript(std::string_view head, const std::filesystem::path& script,
                   const std::vector<std::string>& arguments, Launch& launch) {
  const auto end = head.find('\n');
  if (end == std::string_view::npos) return false;  // a line too long to be one
  const std::string line = Trim(head.substr(2, end - 2));
  const auto blank = line.find_first_of(" \t");
  launch.path = line.substr(0, blank);
  if (launch.path.empty() || ::access(launch.path.c_str(), X_OK) != 0) return false;
  launch.arguments.push_back(launch.path);
  if (blank != std::string::npos) {
    const std::string option = Trim(std::string_view(line).substr(blank));
    if (!option.empty()) launch.arguments.push_back(option);
  }
  launch.arguments.push_back(script.string());
  for (std::size_t i = 1; i < arguments.size(); ++i) launch.arguments.push_back(arguments[i]);
  return true;
}

// An ELF file runs by its path when we may execute it, else from a copy in
// memory, since its mode bits say nothing about whether it is a program here.
bool PrepareElf(int file, const std::filesystem::path& host, const std::vector<std::string>& arguments,
                Launch& launch) {
  launch.arguments = arguments;
  if (::access(host.c_str(), X_OK) == 0) {
    launch.path = host.string();
    return true;
  }
  struct stat status {};
  if (::fstat(file, &status) != 0) return false;
  const int copy = ::memfd_create("program", MFD_CLOEXEC);
  if (copy < 0) return false;
  launch.fd = copy;
  off_t offset = 0;
  while (offset < status.st_size) {
    const ssize_t sent = ::sendfile(copy, file, &offset, static_cast<std::size_t>(status.st_size - offset));
    if (sent <= 0) return false;
  }
  // Kernels that refuse to run a file open for writing (ETXTBSY) run a
  // read-only descriptor of it.
  const std::string self = "/proc/self/fd/" + std::to_string(copy);
  const int readOnly = ::open(self.c_str(), O_RDONLY | O_CLOEXEC);
  if (readOnly >= 0) {
    ::close(copy);
    launch.fd = readOnly;
  }
  return true;
}

bool Prepare(const std::string& program, const std::vector<std::string>& arguments, Launch& launch) {
  std::filesystem::path host;
  if (!MapToHost(program, host)) return false;
  const int file = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return false;
  std::array<char, 256> head{};
  const ssize_t got = ::read(file, head.data(), head.size());
  bool prepared = false;
  if (got >= 2 && head[0] == '#' && head[1] == '!') {
    prepared = PrepareScript(std::string_view(head.data(), static_cast<std::size_t>(got)), host, arguments, launch);
  } else if (got >= 4 && std::memcmp(head.data(), "\x7f" "ELF", 4) == 0) {
    prepared = PrepareElf(file, host, arguments, launch);
  }
  ::close(file);
  return prepared;
}

// Only async-signal-safe calls: this runs in a child of a possibly threaded
// process. Returns only when exec failed.
void Exec(Launch& launch, char** argv) {
  if (launch.fd >= 0) {
    ::fexecve(launch.fd, argv, environ);
  } else {
    ::execve(launch.path.c_str(), argv, environ);
  }
}

int ExitStatus(int status) {
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}

int WaitForExit(pid_t child) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return ExitStatus(status);
}

// Forks; the child (or, detached, a grandchild in a session of its own) execs.
// A pipe that exec closes tells the parent whether exec succeeded.
std::optional<pid_t> Spawn(Launch& launch, bool detached) {
  std::vector<char*> argv = launch.Argv();
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return std::nullopt;
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return std::nullopt;
  }
  if (child == 0) {
    ::close(pipeFds[0]);
    if (detached) {
      ::setsid();
      if (::fork() != 0) ::_exit(0);
    }
    Exec(launch, argv.data());
    const int error = errno;
    [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &error, sizeof error);
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  int error = 0;
  ssize_t got;
  while ((got = ::read(pipeFds[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  ::close(pipeFds[0]);
  if (detached) WaitForExit(child);  // the intermediate child, which ends at once
  if (got > 0) {
    if (!detached) WaitForExit(child);
    return std::nullopt;
  }
  return child;
}

}  // namespace

std::optional<int> RunProgramAndWait(const std::string& program, const std::vector<std::string>& arguments) {
  Launch launch;
  if (!Prepare(program, arguments, launch)) return std::nullopt;
  const std::optional<pid_t> child = Spawn(launch, false);
  if (!child) return std::nullopt;
  return WaitForExit(*child);
}

bool StartProgramDetached(const std::string& program, const std::vector<std::string>& arguments) {
  Launch launch;
  return Prepare(program, arguments, launch) && Spawn(launch, true).has_value();
}

std::optional<ChildProcess> ChildProcess::Start(const std::string& program,
                                                const std::vector<std::string>& arguments) {
  Launch launch;
  if (!Prepare(program, arguments, launch)) return std::nullopt;
  const std::optional<pid_t> child = Spawn(launch, false);
  if (!child) return std::nullopt;
  return ChildProcess(*child);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : pid_(other.pid_), status_(other.status_) {
  other.pid_ = -1;
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && !status_) WaitForExit(pid_);
}

std::optional<int> ChildProcess::WaitFor(std::chrono::milliseconds timeout) {
  if (status_ || pid_ <= 0) return status_;
  // Children have no descriptor to wait on with a timeout: look now and then.
  constexpr auto kStep = std::chrono::milliseconds(10);
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    const pid_t ended = ::waitpid(pid_, &status, WNOHANG);
    if (ended == pid_) {
      status_ = ExitStatus(status);
      return status_;
    }
    if (ended < 0 && errno != EINTR) {
      status_ = -1;  // not our child any more: nothing left to wait for
      return status_;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return std::nullopt;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kStep, deadline - now));
  }
}

int ChildProcess::Wait() {
  if (!status_ && pid_ > 0) status_ = WaitForExit(pid_);
  return status_.value_or(-1);
}

void ReplaceProcess(const std::string& program, const std::vector<std::string>& arguments) {
  Launch launch;
  if (!Prepare(program, arguments, launch)) return;
  std::vector<char*> argv = launch.Argv();
  Exec(launch, argv.data());
}

}  // namespace platform
