#include "bench/traced_child.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <stdexcept>

namespace install_bench {
namespace {

// A file descriptor closed when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

// Reads what was appended to the trace since the last call and hands out its
// complete lines.
class TraceReader {
 public:
  explicit TraceReader(const std::filesystem::path& path) : file_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (file_.Get() < 0) throw std::runtime_error("cannot read the trace " + path.string());
  }

  std::vector<std::string> NewLines() {
    char buffer[4096];
    for (ssize_t got; (got = ::read(file_.Get(), buffer, sizeof buffer)) > 0;) pending_.append(buffer, got);
    std::vector<std::string> lines;
    for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;) {
      lines.push_back(pending_.substr(0, end));
      pending_.erase(0, end + 1);
    }
    return lines;
  }

 private:
  Descriptor file_;
  std::string pending_;
};

}  // namespace

TracedResult RunUntilTraced(const ChildCommand& command, const std::filesystem::path& trace,
                            const std::vector<std::string>& awaited, double timeoutSeconds) {
  { Descriptor create(::open(trace.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)); }
  const Descriptor watch(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK));
  if (watch.Get() < 0 || ::inotify_add_watch(watch.Get(), trace.c_str(), IN_MODIFY) < 0) {
    throw std::runtime_error("cannot watch the trace " + trace.string());
  }
  TraceReader reader(trace);
  TracedResult result;
  StartedChild child(command);
  while (result.seconds.size() < awaited.size()) {
    // A short poll so that a child that ends without the line is noticed.
    pollfd ready{watch.Get(), POLLIN, 0};
    ::poll(&ready, 1, 20);
    char events[4096];
    while (::read(watch.Get(), events, sizeof events) > 0) {
    }
    const double now = child.Elapsed();
    for (const std::string& line : reader.NewLines()) {
      if (result.seconds.size() < awaited.size() && line == awaited[result.seconds.size()]) {
        result.seconds.push_back(now);
      }
    }
    if (result.seconds.size() == awaited.size()) break;
    if (const std::optional<ChildResult> ended = child.TryWait()) {
      throw std::runtime_error(command.argv.at(0) + " ended with status " + std::to_string(ended->exitCode) +
                               " before it traced \"" + awaited[result.seconds.size()] + "\"");
    }
    if (now > timeoutSeconds) {
      throw std::runtime_error(command.argv.at(0) + " did not trace \"" + awaited[result.seconds.size()] +
                               "\" within " + std::to_string(static_cast<int>(timeoutSeconds)) + " s");
    }
  }
  result.child = child.Kill();
  return result;
}

}  // namespace install_bench
