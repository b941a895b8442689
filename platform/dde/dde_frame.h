#pragma once
// The wire format between a DDE-style client and a server on the same machine,
// over a stream Unix socket. Every message is one frame:
//
//   4 bytes  length N of what follows, unsigned little-endian (N >= 1)
//   1 byte   kind
//   N-1      payload
//
// The client sends one frame and reads exactly one answer before it sends the
// next. Client frames: Connect (payload "SERVICE\0TOPIC"), Execute (the command
// text with its terminating zero byte), Request (the item name), Disconnect
// (empty; no answer, the server closes). Answers: Ack (for a request, the data)
// or Nack (a short reason, for people reading traces).

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::dde {

enum class FrameKind : char {
  Connect = 'C',
  Execute = 'X',
  Request = 'R',
  Disconnect = 'D',
  Ack = 'A',
  Nack = 'N',
};

struct Frame {
  FrameKind kind = FrameKind::Ack;
  std::string payload;
};

// The longest execute text, terminating zero included.
inline constexpr std::size_t kMaxExecuteBytes = 512;
// Time allowed for a connection and for each transaction.
inline constexpr std::chrono::milliseconds kTransactionTimeout{1000};

std::string EncodeFrame(const Frame& frame);

enum class ReadStatus { Ok, Closed, TimedOut, Malformed };

struct ReadResult {
  ReadStatus status = ReadStatus::Closed;
  Frame frame;
};

using Deadline = std::chrono::steady_clock::time_point;

// Reads one frame from fd, finishing by deadline. A frame longer than
// maxPayload or of an unknown kind is Malformed: the stream cannot be trusted
// after it. Closed means the peer went away, before or inside the frame.
ReadResult ReadFrame(int fd, std::size_t maxPayload, Deadline deadline);

// Writes all of the frame by deadline; false when the peer is gone or slow.
bool WriteFrame(int fd, const Frame& frame, Deadline deadline);

// Waits until fd is readable, wakeFd (when >= 0) is readable or the deadline
// (when given) passes. True when fd is readable.
bool WaitReadable(int fd, int wakeFd, std::optional<Deadline> deadline);

}  // namespace platform::dde
