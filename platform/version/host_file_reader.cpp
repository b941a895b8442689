#include "platform/version/host_file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace platform {

namespace {
constexpr std::size_t kWindowSize = 4096;
}  // namespace

std::optional<HostFileReader> HostFileReader::Open(const std::filesystem::path& hostPath) {
  // O_NONBLOCK keeps a FIFO from blocking the open; only regular files are read.
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
    ::close(fd);
    return std::nullopt;
  }
  return HostFileReader(fd, static_cast<uint64_t>(st.st_size));
}

HostFileReader::HostFileReader(int fd, uint64_t size) : fd_(fd), size_(size) {}

HostFileReader::~HostFileReader() {
  if (fd_ >= 0) ::close(fd_);
}

HostFileReader::HostFileReader(HostFileReader&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      size_(other.size_),
      window_(std::move(other.window_)),
      windowStart_(other.windowStart_) {}

HostFileReader& HostFileReader::operator=(HostFileReader&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    size_ = other.size_;
    window_ = std::move(other.window_);
    windowStart_ = other.windowStart_;
  }
  return *this;
}

bool HostFileReader::ReadAt(uint64_t offset, std::size_t length, void* out) {
  if (length > size_ || offset > size_ - length) return false;
  if (length == 0) return true;
  auto* dest = static_cast<uint8_t*>(out);
  if (length > kWindowSize) return ReadFromFile(offset, length, dest);

  const bool inWindow = offset >= windowStart_ && offset - windowStart_ <= window_.size() &&
                        length <= window_.size() - (offset - windowStart_);
  if (!inWindow) {
    uint64_t start = offset - offset % kWindowSize;
    // A field that straddles the aligned boundary starts its own window.
    if (offset + length > start + kWindowSize) start = offset;
    const std::size_t count =
        static_cast<std::size_t>(std::min<uint64_t>(kWindowSize, size_ - start));
    window_.resize(count);
    if (!ReadFromFile(start, count, window_.data())) {
      window_.clear();
      return false;
    }
    windowStart_ = start;
  }
  std::memcpy(dest, window_.data() + (offset - windowStart_), length);
  return true;
}

bool HostFileReader::ReadFromFile(uint64_t offset, std::size_t length, uint8_t* out) const {
  while (length > 0) {
    const ssize_t got = ::pread(fd_, out, length, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    // Zero means the file shrank after it was opened.
    if (got <= 0) return false;
    out += got;
    offset += static_cast<uint64_t>(got);
    length -= static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace platform
