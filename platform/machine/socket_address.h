#pragma once
// The address of a Unix socket under the machine's run directory.

#include <sys/un.h>

#include <filesystem>

namespace platform {

// False when the path does not fit sun_path: a truncated path would name
// another socket, so it is refused instead.
bool MakeSocketAddress(const std::filesystem::path& path, sockaddr_un& address);

}  // namespace platform
