#include "platform/profile/profile_file_writer.h"

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

#include "platform/core/fault_injection.h"
#include "platform/core/published_file.h"

namespace platform {
namespace {

std::system_error ErrnoError(int err, const char* what) {
  return std::system_error(err, std::generic_category(), what);
}

// The user extended attributes carry the DOS attributes (hidden, system,
// archive); a rewrite must not drop them. Others (security labels) are the
// system's business. Failures only lose attributes, so they are ignored.
void CopyUserAttributes(const std::filesystem::path& from, int toFd) {
  const ssize_t listSize = ::listxattr(from.c_str(), nullptr, 0);
  if (listSize <= 0) return;
  std::vector<char> names(static_cast<std::size_t>(listSize));
  const ssize_t got = ::listxattr(from.c_str(), names.data(), names.size());
  if (got <= 0) return;
  for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
    const std::string name(&names[at]);
    at += name.size() + 1;
    if (name.rfind("user.", 0) != 0) continue;
    const ssize_t valueSize = ::getxattr(from.c_str(), name.c_str(), nullptr, 0);
    if (valueSize < 0) continue;
    std::vector<char> value(static_cast<std::size_t>(valueSize));
    if (::getxattr(from.c_str(), name.c_str(), value.data(), value.size()) != valueSize) continue;
    (void)::fsetxattr(toFd, name.c_str(), value.data(), value.size(), 0);
  }
}

mode_t DefaultFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

std::filesystem::path ResolveSymlinks(const std::filesystem::path& file) {
  std::filesystem::path path = file;
  for (int depth = 0; depth < 40; ++depth) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    if (error) return path;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  throw ErrnoError(ELOOP, "symlink");
}

namespace {

// The descriptor to append or cut through: the kept one, or the file opened
// now and checked against the identity the caller's text was based on.
int OpenForChange(const std::filesystem::path& file, const std::optional<FileIdentity>& expected, UniqueFd& kept,
                  off_t& sizeBefore) {
  if (kept.IsOpen() && expected) {
    sizeBefore = expected->size;
    return kept.Get();
  }
  kept.Reset();
  // A new file is created here and written like an appended one: until the
  // write it is empty, which is a complete (empty) INI file. O_APPEND also for
  // a cut, since the descriptor is kept for the appends that follow.
  const int flags = O_WRONLY | O_APPEND | O_CLOEXEC | (expected ? 0 : O_CREAT);
  if (const int fault = InjectedFault("open", file.string())) throw ErrnoError(fault, "open");
  UniqueFd fd(::open(file.c_str(), flags, 0666));
  if (!fd.IsOpen()) {
    if (errno == ENOENT && expected) throw FileChangedError();
    throw ErrnoError(errno, "open");
  }
  struct stat before {};
  if (::fstat(fd.Get(), &before) != 0) throw ErrnoError(errno, "fstat");
  if (expected ? !(FileIdentity::Of(before) == *expected) : before.st_size != 0) throw FileChangedError();
  sizeBefore = before.st_size;
  kept = std::move(fd);
  return kept.Get();
}

struct stat StatusAfterChange(int fd) {
  struct stat after {};
  if (::fstat(fd, &after) != 0) throw ErrnoError(errno, "fstat");
  return after;
}

}  // namespace

struct stat AppendToFile(const std::filesystem::path& file, std::string_view bytes,
                         const std::optional<FileIdentity>& expected, UniqueFd& kept) {
  off_t sizeBefore = 0;
  const int fd = OpenForChange(file, expected, kept, sizeBefore);
  // One write() of the whole text: see the header for why it is not torn.
  if (const int fault = InjectedFault("write", file.string())) throw ErrnoError(fault, "write");
  const ssize_t written = ::write(fd, bytes.data(), bytes.size());
  if (written != static_cast<ssize_t>(bytes.size())) {
    const int err = written < 0 ? errno : ENOSPC;
    // A partial line must not stay behind.
    if (written > 0) (void)::ftruncate(fd, sizeBefore);
    throw ErrnoError(err, "write");
  }
  return StatusAfterChange(fd);
}

struct stat TruncateFile(const std::filesystem::path& file, off_t size, const FileIdentity& expected,
                         UniqueFd& kept) {
  off_t sizeBefore = 0;
  const int fd = OpenForChange(file, expected, kept, sizeBefore);
  if (const int fault = InjectedFault("write", file.string())) throw ErrnoError(fault, "ftruncate");
  if (::ftruncate(fd, size) != 0) throw ErrnoError(errno, "ftruncate");
  return StatusAfterChange(fd);
}

struct stat ReplaceFile(const std::filesystem::path& file, std::string_view text, const struct stat* original) {
  const std::filesystem::path target = ResolveSymlinks(file);
  PublishedFile replacement(target, original ? (original->st_mode & 07777) : DefaultFileMode());
  const int fd = replacement.Descriptor();
  replacement.Write(text);
  if (original) {
    // The mode again: the one given at creation passed through the umask.
    if (::fchmod(fd, original->st_mode & 07777) != 0) throw ErrnoError(errno, "fchmod");
    // Only root may give a file away; anyone else keeps the file as their own.
    (void)::fchown(fd, original->st_uid, original->st_gid);
    CopyUserAttributes(target, fd);
  } else if (::fchmod(fd, DefaultFileMode()) != 0) {
    throw ErrnoError(errno, "fchmod");
  }
  struct stat after {};
  if (::fstat(fd, &after) != 0) throw ErrnoError(errno, "fstat");
  replacement.Publish();
  // Some file systems touch the change time on a link or rename; the cache wants the final one.
  (void)::stat(target.c_str(), &after);
  return after;
}

}  // namespace platform
