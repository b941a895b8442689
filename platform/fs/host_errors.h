#pragma once
// How host failures become Windows ones for files opened by path.

#include <filesystem>
#include <string_view>

#include "platform/core/exceptions.h"

namespace platform {

// The cause of a failure on host path: ENOENT with a missing parent directory
// is a bad path, as Windows reports "path not found" then.
FileCause CauseOfPathError(int err, const std::filesystem::path& host);

// Throws the FileException for a failure on a file named winPath.
[[noreturn]] void ThrowFileError(int err, std::string_view winPath, const std::filesystem::path& host = {});

}  // namespace platform
