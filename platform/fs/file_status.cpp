// Attributes, times and sizes of files named by Windows path.

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <vector>

#include "platform/core/fault_injection.h"
#include "platform/fs/dos_attributes.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/file_times.h"
#include "platform/fs/path_map.h"
#include "platform/fs/windows_path.h"

namespace platform {
namespace {

bool SetTimes(const std::filesystem::path& host, int64_t lastWrite, int64_t lastAccess) {
  struct timespec times[2];
  times[0].tv_sec = static_cast<time_t>(lastAccess);
  times[0].tv_nsec = lastAccess == 0 ? UTIME_OMIT : 0;
  times[1].tv_sec = static_cast<time_t>(lastWrite);
  times[1].tv_nsec = lastWrite == 0 ? UTIME_OMIT : 0;
  return utimensat(AT_FDCWD, host.c_str(), times, 0) == 0;
}

}  // namespace

uint32_t GetFileAttributes(std::string_view path) {
  std::filesystem::path host;
  struct stat st;
  if (!MapToHost(path, host) || stat(host.c_str(), &st) != 0) return kInvalidAttributes;
  return DosAttributesOf(host, st);
}

bool SetFileAttributes(std::string_view path, uint32_t attributes) {
  if (const int fault = InjectedFault("attributes", path)) {
    errno = fault;
    return false;
  }
  std::filesystem::path host;
  return MapToHost(path, host) && SetDosAttributes(host, attributes);
}

bool GetFileStatus(std::string_view path, FileStatus& status) {
  FullPath full;
  std::filesystem::path host;
  struct stat st;
  if (!ExpandWindowsPath(path, full) || !HostPathOf(full, host) || stat(host.c_str(), &st) != 0) return false;
  status.creationTime = CreationTimeOf(host, st);
  status.lastWriteTime = st.st_mtim.tv_sec;
  status.lastAccessTime = st.st_atim.tv_sec;
  status.size = static_cast<uint64_t>(st.st_size);
  status.attributes = DosAttributesOf(host, st);
  // Spelled as stored, like the names a search returns: the host's letter case
  // for every component, which the lookup found.
  std::vector<std::string> stored;
  for (auto it = host.end(); stored.size() < full.components.size() && it != host.begin();) {
    stored.insert(stored.begin(), (--it)->string());
  }
  full.components = std::move(stored);
  status.fullName = full.Text();
  return true;
}

bool SetFileStatus(std::string_view path, const FileStatus& status) {
  if (const int fault = InjectedFault("status", path)) {
    errno = fault;
    return false;
  }
  std::filesystem::path host;
  if (!MapToHost(path, host)) return false;
  // Times first: a file that becomes read-only keeps the times it was given.
  if ((status.lastWriteTime != 0 || status.lastAccessTime != 0) &&
      !SetTimes(host, status.lastWriteTime, status.lastAccessTime)) {
    return false;
  }
  return SetDosAttributes(host, status.attributes);
}

bool SetLastWriteTime(std::string_view path, int64_t seconds) {
  if (const int fault = InjectedFault("time", path)) {
    errno = fault;
    return false;
  }
  std::filesystem::path host;
  if (!MapToHost(path, host)) return false;
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(seconds);
  times[1].tv_nsec = 0;
  return utimensat(AT_FDCWD, host.c_str(), times, 0) == 0;
}

}  // namespace platform
