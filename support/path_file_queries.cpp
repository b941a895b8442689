// CPath: questions about the file the path names, and the unique-name draw.

#include <cstdio>

#include "platform/core/crt_random.h"
#include "platform/fs/file_ops.h"
#include "support/file_status.h"
#include "support/path.h"

bool CPath::Exists() const {
  const uint32_t attributes = platform::GetFileAttributes(path_);
  return attributes != platform::kInvalidAttributes && (attributes & platform::kAttrDirectory) == 0;
}

uint64_t CPath::GetSize() const {
  platform::FileStatus status;
  return platform::GetFileStatus(path_, status) ? status.size : 0;
}

uint32_t CPath::GetModifyTime() const {
  platform::FileStatus status;
  return platform::GetFileStatus(path_, status) ? ToFileTime32(status.lastWriteTime) : 0;
}

bool CPath::Delete() const { return platform::DeleteFile(path_); }

bool CPath::Rename(std::string_view newPath) const { return platform::MoveFile(path_, newPath); }

namespace {

// Five draws in a fixed order (argument evaluation order is unspecified, and the
// sequence decides the names); "%.4x" of 0..32767 is always 4 digits, so the name
// is the first two values.
std::string DrawUniqueName() {
  int values[5];
  for (int& value : values) value = platform::Rand();
  char text[32];
  std::snprintf(text, sizeof text, "%.4x%.4x%.4x%.4x%.4x", static_cast<unsigned>(values[0]),
                static_cast<unsigned>(values[1]), static_cast<unsigned>(values[2]),
                static_cast<unsigned>(values[3]), static_cast<unsigned>(values[4]));
  return std::string(text, 8);
}

}  // namespace

bool CPath::MakeUniqueName(bool mustNotExist, int tries) {
  for (int draw = 1;; ++draw) {
    SetName(DrawUniqueName());
    // Any entry of that name counts, a directory too: the caller is about to
    // create a file there.
    if (!mustNotExist || !platform::FileExists(path_)) return true;
    if (draw >= tries) return false;
  }
}
