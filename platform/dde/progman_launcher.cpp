#include "platform/dde/progman_launcher.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/dde/dde_frame.h"
#include "platform/dde/progman_server.h"
#include "platform/dde/unix_socket.h"
#include "platform/machine/machine.h"

namespace platform::dde {
namespace {

bool ServerAnswers(const std::filesystem::path& socketPath) {
  sockaddr_un address;
  return MakeSocketAddress(socketPath, address) && ConnectStream(address).Get() >= 0;
}

// Runs argv in a grandchild in a session of its own, so that it is nobody's
// child to wait for and keeps running when the starter ends.
bool SpawnDetached(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    // Only async-signal-safe calls between fork and exec.
    ::setsid();
    if (::fork() != 0) ::_exit(0);
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
      ::dup2(null, 0);
      ::dup2(null, 1);
      ::dup2(null, 2);
    }
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

std::filesystem::path QmtoolPath() {
  if (const char* env = std::getenv("QMSETUP_QMTOOL"); env && *env) return env;
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return (ec ? std::filesystem::path() : self.parent_path()) / "qmtool";
}

bool StartProgramManager() {
  const std::filesystem::path socketPath = ProgmanSocketPath();
  if (ServerAnswers(socketPath)) return true;
  const std::vector<std::string> args = {QmtoolPath().string(), "progman", "serve", "--root",
                                         CurrentMachine().Root().string()};
  if (!SpawnDetached(args)) return false;
  const auto deadline = std::chrono::steady_clock::now() + kTransactionTimeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (ServerAnswers(socketPath)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return ServerAnswers(socketPath);
}

}  // namespace platform::dde
