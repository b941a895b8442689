// MoveFile: a rename that never replaces its target, as on Windows, and a copy
// where the host puts the two names on different file systems.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/core/fault_injection.h"
#include "platform/machine/directory_listing_cache.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"

namespace platform {
namespace {

// Replaces nothing: renameat2's own check where the file system has it, else a
// hard link (which fails on an existing name), else a check just before.
bool RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to, bool isDirectory) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
  if (!isDirectory) {
    if (link(from.c_str(), to.c_str()) == 0) return unlink(from.c_str()) == 0;
    if (errno != EPERM && errno != ENOTSUP && errno != EMLINK) return false;
  }
  struct stat st;
  if (lstat(to.c_str(), &st) == 0) {
    errno = EEXIST;
    return false;
  }
  return rename(from.c_str(), to.c_str()) == 0;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t put = write(fd, data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) {
      if (put == 0) errno = ENOSPC;
      return false;
    }
    data += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

// Copies a regular file with its mode, times and stored DOS bits; the target is
// created exclusively, so an existing file is never replaced.
bool CopyFileExclusive(const std::filesystem::path& from, const std::filesystem::path& to, const struct stat& st) {
  const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (out < 0) {
    const int err = errno;
    close(in);
    errno = err;
    return false;
  }
  std::vector<char> buffer(1 << 16);
  bool ok = true;
  while (ok) {
    const ssize_t got = read(in, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    ok = WriteAll(out, buffer.data(), static_cast<std::size_t>(got));
  }
  char attrib[256];
  const ssize_t attribSize = ok ? getxattr(from.c_str(), "user.DOSATTRIB", attrib, sizeof attrib) : -1;
  if (attribSize > 0) fsetxattr(out, "user.DOSATTRIB", attrib, static_cast<std::size_t>(attribSize), 0);
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  if (ok) ok = futimens(out, times) == 0 && fchmod(out, st.st_mode & 07777) == 0;
  const int err = errno;
  if (close(out) != 0 && ok) ok = false;
  close(in);
  if (!ok) {
    unlink(to.c_str());
    errno = err;
  }
  return ok;
}

}  // namespace

static bool MoveHost(std::string_view from, std::string_view to, std::filesystem::path& hostFrom,
              std::filesystem::path& hostTo, bool& isDirectory);

bool MoveFile(std::string_view from, std::string_view to) {
  if (const int fault = InjectedFault("move", to)) {
    errno = fault;
    return false;
  }
  std::filesystem::path hostFrom;
  std::filesystem::path hostTo;
  bool isDirectory = false;
  const bool moved = MoveHost(from, to, hostFrom, hostTo, isDirectory);
  if (moved) {
    const int err = errno;
    // A move onto its own name leaves the entry where it was.
    const HostEntryNow there = isDirectory ? HostEntryNow::Directory : HostEntryNow::File;
    NoteHostEntryChanged(hostFrom, hostFrom == hostTo ? there : HostEntryNow::Gone);
    NoteHostEntryChanged(hostTo, there);
    errno = err;
  }
  return moved;
}

// The move itself; hostFrom and hostTo get the host paths it used.
static bool MoveHost(std::string_view from, std::string_view to, std::filesystem::path& hostFrom,
              std::filesystem::path& hostTo, bool& isDirectory) {
  if (!MapToHost(from, hostFrom) || !MapToHost(to, hostTo)) return false;
  struct stat st;
  if (lstat(hostFrom.c_str(), &st) != 0) return false;
  isDirectory = S_ISDIR(st.st_mode);

  if (hostFrom == hostTo) {
    // The target names the source ignoring case: Windows renames to the new
    // spelling, and a move onto the very same name has nothing to do.
    std::string toFull;
    if (!GetFullPathName(to, toFull)) return false;
    const std::string wanted = std::filesystem::path(toFull.substr(toFull.find_last_of('\\') + 1)).string();
    if (wanted.empty() || wanted == hostFrom.filename().string()) return true;
    hostTo = hostFrom.parent_path() / wanted;
    return rename(hostFrom.c_str(), hostTo.c_str()) == 0;
  }

  if (RenameNoReplace(hostFrom, hostTo, isDirectory)) return true;
  // Across host file systems a file is copied and the original deleted; a
  // directory cannot move between volumes on Windows either.
  if (errno != EXDEV || !S_ISREG(st.st_mode)) return false;
  if (!CopyFileExclusive(hostFrom, hostTo, st)) return false;
  if (unlink(hostFrom.c_str()) != 0) {
    const int err = errno;
    unlink(hostTo.c_str());
    errno = err;
    return false;
  }
  return true;
}

}  // namespace platform
