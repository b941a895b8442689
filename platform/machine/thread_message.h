#pragma once
// Messages posted to a thread of another program on the same machine. A thread
// is reached through a datagram socket <system root>/run/thread-<id>.sock that
// its listener binds; a message is the datagram "<msg> <wParam> <lParam>\n".

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

namespace platform {

struct ThreadMessage {
  unsigned message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
};

// Posts message to thread threadId of the current machine. Nobody listening is
// not an error: the answer is false and nothing waits.
bool PostThreadMessage(std::int32_t threadId, const ThreadMessage& message);

// The receiving end: binds the thread's socket (replacing a stale one) and
// removes it when destroyed.
class ThreadMessageListener {
 public:
  // Raises platform::FileException when the socket cannot be bound: its path
  // is too long for a socket address (BadPath), or a live listener holds it
  // (SharingViolation).
  explicit ThreadMessageListener(std::int32_t threadId);
  ~ThreadMessageListener();
  ThreadMessageListener(const ThreadMessageListener&) = delete;
  ThreadMessageListener& operator=(const ThreadMessageListener&) = delete;

  // The next message, waiting at most timeout; nullopt when none came. A
  // datagram that is not a message is skipped.
  std::optional<ThreadMessage> Receive(std::chrono::milliseconds timeout);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace platform
