// Existence, deletion, directories and the current directory, on Windows paths.

#include "platform/machine/directory_listing_cache.h"
#include "platform/fs/file_ops.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/core/fault_injection.h"
#include "platform/fs/dos_attributes.h"
#include "platform/fs/path_map.h"

namespace platform {

bool FileExists(std::string_view path) {
  std::filesystem::path host;
  struct stat st;
  return MapToHost(path, host) && stat(host.c_str(), &st) == 0;
}

bool DeleteFile(std::string_view path) {
  if (const int fault = InjectedFault("delete", path)) {
    errno = fault;
    return false;
  }
  std::filesystem::path host;
  if (!MapToHost(path, host)) return false;
  struct stat st;
  if (lstat(host.c_str(), &st) != 0) return false;
  if (S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return false;
  }
  // Windows refuses to delete a read-only file; root's unlink would not.
  if (S_ISREG(st.st_mode) && IsReadOnlyMode(st.st_mode)) {
    errno = EACCES;
    return false;
  }
  if (unlink(host.c_str()) != 0) return false;
  NoteHostEntryChanged(host, HostEntryNow::Gone);
  return true;
}

bool CreateDirectory(std::string_view path) {
  if (const int fault = InjectedFault("mkdir", path)) {
    errno = fault;
    return false;
  }
  std::filesystem::path host;
  if (!MapToHost(path, host) || mkdir(host.c_str(), 0777) != 0) return false;
  NoteHostDirectoryCreated(host);
  return true;
}

bool RemoveDirectory(std::string_view path) {
  if (const int fault = InjectedFault("rmdir", path)) {
    errno = fault;
    return false;
  }
  std::filesystem::path host;
  if (!MapToHost(path, host)) return false;
  struct stat target;
  struct stat cwd;
  // Windows will not remove a directory that is some process's current one;
  // ours is the one we can see.
  if (stat(host.c_str(), &target) == 0 && stat(".", &cwd) == 0 && target.st_dev == cwd.st_dev &&
      target.st_ino == cwd.st_ino) {
    errno = EBUSY;
    return false;
  }
  if (rmdir(host.c_str()) != 0) return false;
  NoteHostEntryChanged(host, HostEntryNow::Gone);
  return true;
}

std::string GetCurrentDirectory() {
  std::error_code ec;
  const std::filesystem::path cwd = std::filesystem::current_path(ec);
  if (ec) {
    errno = ec.value();
    return {};
  }
  return MapToWindows(cwd);
}

bool SetCurrentDirectory(std::string_view path) {
  std::filesystem::path host;
  return MapToHost(path, host) && chdir(host.c_str()) == 0;
}

}  // namespace platform
