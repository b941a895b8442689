#pragma once
// The few socket helpers the client and the server share.

#include "platform/core/unique_fd.h"
#include "platform/machine/socket_address.h"
#include <sys/un.h>

#include <chrono>
#include <filesystem>

namespace platform::dde {


// A non-blocking stream socket connected to address, or an empty one when
// nobody listens there. A listener whose queue is full is retried until the
// time-out passes.
UniqueFd ConnectStream(const sockaddr_un& address,
                       std::chrono::milliseconds timeout = std::chrono::milliseconds(0));

}  // namespace platform::dde
