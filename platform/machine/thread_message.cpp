#include "platform/machine/thread_message.h"

#include "platform/machine/socket_address.h"

#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/core/exceptions.h"
#include "platform/machine/machine.h"
#include "platform/machine/thread_message_text.h"

namespace platform {
namespace {

// Closes a descriptor when it goes out of scope.
class SocketFd {
 public:
  explicit SocketFd(int fd) : fd_(fd) {}
  ~SocketFd() {
    if (fd_ >= 0) ::close(fd_);
  }
  SocketFd(const SocketFd&) = delete;
  SocketFd& operator=(const SocketFd&) = delete;
  int Get() const { return fd_; }

 private:
  int fd_;
};

std::filesystem::path ThreadSocketPath(std::int32_t threadId) {
  return CurrentMachine().RunDirectory() / ("thread-" + std::to_string(threadId) + ".sock");
}


int NewDatagramSocket() { return ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0); }

bool SendDatagram(int fd, const sockaddr_un& address, std::string_view text) {
  ssize_t sent;
  do {
    sent = ::sendto(fd, text.data(), text.size(), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&address),
                    sizeof address);
  } while (sent < 0 && errno == EINTR);
  return sent == static_cast<ssize_t>(text.size());
}

// True when a listener is bound at address: a datagram socket connects only
// to a bound one; a file left by a listener that died refuses the connection.
bool SomeoneListens(const sockaddr_un& address) {
  const SocketFd probe(NewDatagramSocket());
  if (probe.Get() < 0) return false;
  return ::connect(probe.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

}  // namespace

bool PostThreadMessage(std::int32_t threadId, const ThreadMessage& message) {
  sockaddr_un address;
  // A path too long to bind is one nobody can listen at.
  if (!MakeSocketAddress(ThreadSocketPath(threadId), address)) return false;
  const SocketFd fd(NewDatagramSocket());
  if (fd.Get() < 0) return false;
  // Non-blocking: a listener whose queue is full loses the message rather
  // than holding the sender up.
  return SendDatagram(fd.Get(), address, FormatThreadMessage(message));
}

struct ThreadMessageListener::State {
  std::filesystem::path path;
  int fd = -1;
  // The socket file as bound, so that one that a later listener put in its
  // place is left alone.
  dev_t device = 0;
  ino_t inode = 0;
};

ThreadMessageListener::ThreadMessageListener(std::int32_t threadId) : state_(std::make_unique<State>()) {
  state_->path = ThreadSocketPath(threadId);
  const std::string name = state_->path.string();
  sockaddr_un address;
  if (!MakeSocketAddress(state_->path, address)) {
    throw FileException(FileCause::BadPath, ENAMETOOLONG, name);
  }
  std::error_code ec;
  std::filesystem::create_directories(state_->path.parent_path(), ec);
  if (ec) throw FileException::FromErrno(ec.value(), state_->path.parent_path().string());

  struct stat existing;
  if (::lstat(address.sun_path, &existing) == 0) {
    if (S_ISSOCK(existing.st_mode) && SomeoneListens(address)) {
      throw FileException(FileCause::SharingViolation, EADDRINUSE, name);
    }
    // Left behind by a listener that did not end cleanly.
    if (::unlink(address.sun_path) != 0 && errno != ENOENT) throw FileException::FromErrno(errno, name);
  }

  const int fd = NewDatagramSocket();
  if (fd < 0) throw FileException::FromErrno(errno, name);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    const int err = errno;
    ::close(fd);
    throw FileException::FromErrno(err, name);
  }
  state_->fd = fd;
  struct stat bound;
  if (::lstat(address.sun_path, &bound) == 0) {
    state_->device = bound.st_dev;
    state_->inode = bound.st_ino;
  }
}

ThreadMessageListener::~ThreadMessageListener() {
  ::close(state_->fd);
  struct stat current;
  if (::lstat(state_->path.c_str(), &current) == 0 && current.st_dev == state_->device &&
      current.st_ino == state_->inode) {
    ::unlink(state_->path.c_str());
  }
}

std::optional<ThreadMessage> ThreadMessageListener::Receive(std::chrono::milliseconds timeout) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::max(timeout, std::chrono::milliseconds(0));
  // Room for the longest message and one byte more, so that a longer datagram
  // shows as truncated and is skipped instead of read in part.
  std::array<char, kMaxThreadMessageText + 1> buffer;
  for (;;) {
    const ssize_t size = ::recv(state_->fd, buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC);
    if (size >= 0) {
      if (static_cast<std::size_t>(size) > kMaxThreadMessageText) continue;
      if (auto message = ParseThreadMessage(std::string_view(buffer.data(), static_cast<std::size_t>(size)))) {
        return message;
      }
      continue;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) throw FileException::FromErrno(errno, state_->path.string());

    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd waiting{state_->fd, POLLIN, 0};
    if (::poll(&waiting, 1, static_cast<int>(std::min<long long>(left.count(), 60'000))) < 0 && errno != EINTR) {
      throw FileException::FromErrno(errno, state_->path.string());
    }
  }
}

}  // namespace platform
