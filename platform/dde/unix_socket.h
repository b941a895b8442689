#pragma once
// The few socket helpers the client and the server share.

#include "platform/machine/socket_address.h"
#include <sys/un.h>

#include <chrono>
#include <filesystem>

namespace platform::dde {

// Closes a descriptor when it goes out of scope.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int Get() const { return fd_; }
  int Release();
  void Reset();

 private:
  int fd_ = -1;
};


// A non-blocking stream socket connected to address, or an empty one when
// nobody listens there. A listener whose queue is full is retried until the
// time-out passes.
UniqueFd ConnectStream(const sockaddr_un& address,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(0));

}  // namespace platform::dde
