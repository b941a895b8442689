#include "platform/machine/directory_listing_cache.h"
#include "platform/fs/file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/core/fault_injection.h"
#include "platform/fs/dos_attributes.h"
#include "platform/fs/host_errors.h"
#include "platform/fs/path_map.h"

namespace platform {
namespace {

template <typename Call>
auto RetryOnInterrupt(Call call) {
  decltype(call()) result;
  do {
    result = call();
  } while (result < 0 && errno == EINTR);
  return result;
}

int AccessFlags(unsigned mode) {
  switch (mode & 0x3) {
    case open_mode::kWrite:
      return O_WRONLY;
    case open_mode::kReadWrite:
      return O_RDWR;
    default:
      return O_RDONLY;
  }
}

// Opens host with Windows semantics: a read-only file (no write bits) refuses
// writers even when the host would let us in (root ignores the bits), and a
// directory is not a file. The existing file is checked before it is truncated.
int OpenHost(const std::filesystem::path& host, unsigned mode) {
  const bool create = (mode & open_mode::kCreate) != 0;
  const bool truncate = create && (mode & open_mode::kNoTruncate) == 0;
  // Truncating needs a writable descriptor even when the caller only reads.
  const int access = create && AccessFlags(mode) == O_RDONLY ? O_RDWR : AccessFlags(mode);
  const bool writing = access != O_RDONLY;
  for (int attempt = 0;; ++attempt) {
    // A name that comes and goes between the two opens (or a dangling symlink,
    // which O_EXCL does not follow) ends in a plain O_CREAT open.
    const bool lastAttempt = attempt >= 2;
    if (create && !lastAttempt) {
      const int fd = RetryOnInterrupt([&] { return open(host.c_str(), access | O_CREAT | O_EXCL | O_CLOEXEC, 0666); });
      if (fd >= 0 || errno != EEXIST) return fd;
    }
    const int extra = create && lastAttempt ? O_CREAT : 0;
    const int fd = RetryOnInterrupt([&] { return open(host.c_str(), access | extra | O_CLOEXEC, 0666); });
    if (fd < 0) {
      if (create && !lastAttempt && errno == ENOENT) continue;
      return fd;
    }
    struct stat st;
    int err = 0;
    if (fstat(fd, &st) != 0) {
      err = errno;
    } else if (S_ISDIR(st.st_mode)) {
      err = EISDIR;
    } else if (writing && IsReadOnlyMode(st.st_mode)) {
      err = EACCES;
    } else if (truncate && S_ISREG(st.st_mode) && RetryOnInterrupt([&] { return ftruncate(fd, 0); }) != 0) {
      err = errno;
    }
    if (err == 0) return fd;
    close(fd);
    errno = err;
    return -1;
  }
}

}  // namespace

File::~File() { Abort(); }

File::File(File&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), written_(other.written_), path_(std::move(other.path_)) {}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    Abort();
    fd_ = std::exchange(other.fd_, -1);
    written_ = other.written_;
    path_ = std::move(other.path_);
  }
  return *this;
}

void File::Open(std::string_view winPath, unsigned mode) {
  if (IsOpen()) Close();
  if (const int fault = InjectedFault("open", winPath)) ThrowFileError(fault, winPath);
  std::filesystem::path host;
  if (!MapToHost(winPath, host)) ThrowFileError(errno, winPath);
  const int fd = OpenHost(host, mode);
  if (fd < 0) ThrowFileError(errno, winPath, host);
  if ((mode & open_mode::kCreate) != 0) NoteHostEntryChanged(host, HostEntryNow::File);
  fd_ = fd;
  written_ = false;
  path_ = std::string(winPath);
}

std::size_t File::Read(void* buffer, std::size_t n) {
  if (!IsOpen()) throw FileException(FileCause::InvalidFile, EBADF, path_);
  auto* bytes = static_cast<unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < n) {
    const ssize_t got = RetryOnInterrupt([&] { return read(fd_, bytes + done, n - done); });
    if (got < 0) ThrowFileError(errno, path_);
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return done;
}

void File::Write(const void* buffer, std::size_t n) {
  if (!IsOpen()) throw FileException(FileCause::InvalidFile, EBADF, path_);
  written_ = true;
  if (const int fault = InjectedFault("write", path_)) ThrowFileError(fault, path_);
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  std::size_t done = 0;
  while (done < n) {
    const ssize_t put = RetryOnInterrupt([&] { return write(fd_, bytes + done, n - done); });
    if (put < 0) ThrowFileError(errno, path_);
    // A write of nothing on a nonempty buffer means the device is out of room.
    if (put == 0) ThrowFileError(ENOSPC, path_);
    done += static_cast<std::size_t>(put);
  }
}

uint64_t File::Seek(int64_t offset, SeekFrom from) {
  if (!IsOpen()) throw FileException(FileCause::InvalidFile, EBADF, path_);
  const int whence = from == SeekFrom::Begin ? SEEK_SET : from == SeekFrom::Current ? SEEK_CUR : SEEK_END;
  const off_t position = lseek(fd_, static_cast<off_t>(offset), whence);
  // A position before the start is a bad seek, not the bad path EINVAL stands for elsewhere.
  if (position < 0) throw FileException(errno == EINVAL ? FileCause::BadSeek : FileCauseFromErrno(errno), errno, path_);
  return static_cast<uint64_t>(position);
}

uint64_t File::GetPosition() const {
  if (!IsOpen()) throw FileException(FileCause::InvalidFile, EBADF, path_);
  const off_t position = lseek(fd_, 0, SEEK_CUR);
  if (position < 0) ThrowFileError(errno, path_);
  return static_cast<uint64_t>(position);
}

uint64_t File::GetLength() const {
  if (!IsOpen()) throw FileException(FileCause::InvalidFile, EBADF, path_);
  struct stat st;
  if (fstat(fd_, &st) != 0) ThrowFileError(errno, path_);
  return static_cast<uint64_t>(st.st_size);
}

void File::Flush() {
  if (!IsOpen()) throw FileException(FileCause::InvalidFile, EBADF, path_);
  // Pipes and character devices cannot be synced and have nothing to flush.
  if (RetryOnInterrupt([&] { return fsync(fd_); }) != 0 && errno != EINVAL && errno != EROFS) {
    ThrowFileError(errno, path_);
  }
}

void File::Close() {
  if (!IsOpen()) return;
  const int fd = std::exchange(fd_, -1);
  const int fault = written_ ? InjectedFault("close", path_) : 0;
  // The descriptor is gone after close whatever it reports; EINTR is no failure.
  if (close(fd) != 0 && errno != EINTR) ThrowFileError(errno, path_);
  if (fault != 0) ThrowFileError(fault, path_);
}

void File::Abort() {
  if (!IsOpen()) return;
  close(std::exchange(fd_, -1));
}

}  // namespace platform
