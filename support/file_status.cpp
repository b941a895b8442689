#include "support/file_status.h"

#include <cerrno>
#include <limits>

#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"

uint32_t ToFileTime32(int64_t seconds) {
  if (seconds < 0) return 0;
  if (seconds > std::numeric_limits<uint32_t>::max()) return std::numeric_limits<uint32_t>::max();
  return static_cast<uint32_t>(seconds);
}

bool GetStatus(std::string_view fileName, CFileStatus& status) {
  platform::FileStatus host;
  if (!platform::GetFileStatus(fileName, host)) return false;
  // A name that does not fit the record is refused rather than cut: a cut name
  // would point at a different file.
  if (host.fullName.size() > platform::kMaxPath) {
    errno = ENAMETOOLONG;
    return false;
  }
  status.creationTime = ToFileTime32(host.creationTime);
  status.lastWriteTime = ToFileTime32(host.lastWriteTime);
  status.lastAccessTime = ToFileTime32(host.lastAccessTime);
  status.size = host.size;
  status.attributes = static_cast<uint8_t>(host.attributes & 0xFF);
  status.fullName = std::move(host.fullName);
  return true;
}

bool SetStatus(std::string_view fileName, const CFileStatus& status) {
  platform::FileStatus host;
  host.creationTime = status.creationTime;
  host.lastWriteTime = status.lastWriteTime;
  host.lastAccessTime = status.lastAccessTime;
  host.size = status.size;
  host.attributes = status.attributes & ~platform::kAttrDirectory;
  host.fullName = status.fullName;
  return platform::SetFileStatus(fileName, host);
}
