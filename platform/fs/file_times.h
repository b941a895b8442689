#pragma once
// The creation time of a host file, which not every file system keeps.

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>

namespace platform {

// The birth time where the kernel and the file system report one, else the
// last-write time in st.
int64_t CreationTimeOf(const std::filesystem::path& host, const struct stat& st);

}  // namespace platform
