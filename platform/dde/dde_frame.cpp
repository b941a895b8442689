#include "platform/dde/dde_frame.h"

#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace platform::dde {
namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Deadline deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return static_cast<int>(std::clamp<long long>(left, 0, 60'000));
}

bool KnownKind(char kind) {
  switch (static_cast<FrameKind>(kind)) {
    case FrameKind::Connect:
    case FrameKind::Execute:
    case FrameKind::Request:
    case FrameKind::Disconnect:
    case FrameKind::Ack:
    case FrameKind::Nack:
      return true;
  }
  return false;
}

// Reads exactly size bytes; 1 done, 0 peer closed, -1 timed out or failed.
int ReadExactly(int fd, char* data, std::size_t size, Deadline deadline) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t got = ::recv(fd, data + done, size - done, MSG_DONTWAIT);
    if (got > 0) {
      done += static_cast<std::size_t>(got);
      continue;
    }
    if (got == 0) return 0;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return errno == ECONNRESET ? 0 : -1;
    if (Clock::now() >= deadline) return -1;
    pollfd waiting{fd, POLLIN, 0};
    if (::poll(&waiting, 1, MillisecondsLeft(deadline)) < 0 && errno != EINTR) return -1;
  }
  return 1;
}

}  // namespace

std::string EncodeFrame(const Frame& frame) {
  const std::uint32_t length = static_cast<std::uint32_t>(frame.payload.size() + 1);
  std::string bytes;
  bytes.reserve(4 + length);
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((length >> shift) & 0xFF));
  bytes.push_back(static_cast<char>(frame.kind));
  bytes += frame.payload;
  return bytes;
}

ReadResult ReadFrame(int fd, std::size_t maxPayload, Deadline deadline) {
  ReadResult result;
  unsigned char header[5];
  int got = ReadExactly(fd, reinterpret_cast<char*>(header), sizeof header, deadline);
  if (got <= 0) {
    result.status = got == 0 ? ReadStatus::Closed : ReadStatus::TimedOut;
    return result;
  }
  std::uint32_t length = 0;
  for (int i = 3; i >= 0; --i) length = (length << 8) | header[i];
  if (length == 0 || length - 1 > maxPayload || !KnownKind(static_cast<char>(header[4]))) {
    result.status = ReadStatus::Malformed;
    return result;
  }
  result.frame.kind = static_cast<FrameKind>(header[4]);
  result.frame.payload.resize(length - 1);
  got = ReadExactly(fd, result.frame.payload.data(), result.frame.payload.size(), deadline);
  if (got <= 0) {
    result.status = got == 0 ? ReadStatus::Closed : ReadStatus::TimedOut;
    return result;
  }
  result.status = ReadStatus::Ok;
  return result;
}

bool WriteFrame(int fd, const Frame& frame, Deadline deadline) {
  const std::string bytes = EncodeFrame(frame);
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t sent = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_DONTWAIT | MSG_NOSIGNAL);
    if (sent > 0) {
      done += static_cast<std::size_t>(sent);
      continue;
    }
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
    if (Clock::now() >= deadline) return false;
    pollfd waiting{fd, POLLOUT, 0};
    if (::poll(&waiting, 1, MillisecondsLeft(deadline)) < 0 && errno != EINTR) return false;
  }
  return true;
}

bool WaitReadable(int fd, int wakeFd, std::optional<Deadline> deadline) {
  for (;;) {
    pollfd waiting[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    const int count = wakeFd >= 0 ? 2 : 1;
    const int timeout = deadline ? MillisecondsLeft(*deadline) : -1;
    const int ready = ::poll(waiting, count, timeout);
    if (ready < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (count == 2 && waiting[1].revents != 0) return false;
    if (waiting[0].revents != 0) return true;
    if (ready == 0) return false;
  }
}

}  // namespace platform::dde
