#include "platform/profile/profile_cache.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/core/fault_injection.h"
#include "platform/core/published_file.h"
#include "platform/profile/cut_append.h"

namespace platform {
namespace {

std::system_error ErrnoError(const char* what) {
  return std::system_error(errno, std::generic_category(), what);
}

// Reads the whole file and the status it had while it was read. Returns false
// when the file changed during the read, so that the caller reads it again.
bool ReadWhole(const std::filesystem::path& file, std::string& text, struct stat& status) {
  // Non-blocking, so that a FIFO of that name cannot hang the caller.
  if (const int fault = InjectedFault("open", file.string())) throw std::system_error(fault, std::generic_category(), "open");
  const UniqueFd opened(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  const int fd = opened.Get();
  if (fd < 0) throw ErrnoError("open");
  if (::fstat(fd, &status) != 0) throw ErrnoError("fstat");
  if (!S_ISREG(status.st_mode)) {
    throw std::system_error(S_ISDIR(status.st_mode) ? EISDIR : EINVAL, std::generic_category(), "read");
  }
  text.clear();
  text.reserve(static_cast<std::size_t>(status.st_size));
  char chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw ErrnoError("read");
    if (n == 0) break;
    text.append(chunk, static_cast<std::size_t>(n));
  }
  struct stat after {};
  if (::fstat(fd, &after) != 0) throw ErrnoError("fstat");
  return FileIdentity::Of(after) == FileIdentity::Of(status) &&
         text.size() == static_cast<std::size_t>(status.st_size);
}

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

}  // namespace

FileIdentity FileIdentity::Of(const struct stat& status) {
  return FileIdentity{status.st_dev, status.st_ino, status.st_size, status.st_mtim, status.st_ctim};
}

bool FileIdentity::operator==(const FileIdentity& other) const {
  return device == other.device && inode == other.inode && size == other.size &&
         SameTime(modified, other.modified) && SameTime(changed, other.changed);
}

ProfileCache::ProfileCache(std::size_t capacity) : capacity_(std::max<std::size_t>(capacity, 1)) {}

CachedProfileFile& ProfileCache::Load(const std::filesystem::path& file, const struct stat* seen) {
  const std::string key = file.string();
  auto it = entries_.find(key);
  if (it == entries_.end()) {
    // A writer killed between its link and its rename left a hidden copy.
    PublishedFile::RemoveLeftovers(file);
    EvictIfFull();
    it = entries_.emplace(key, Entry{std::make_unique<CachedProfileFile>(), 0}).first;
  }
  Entry& entry = it->second;
  entry.lastUse = ++clock_;
  CachedProfileFile& cached = *entry.file;

  struct stat now {};
  // A symbolic link's own status says nothing of the file it leads to.
  if (seen != nullptr && S_ISREG(seen->st_mode)) {
    now = *seen;
  } else if (::stat(file.c_str(), &now) != 0) {
    if (errno != ENOENT && errno != ENOTDIR) {
      const std::system_error error = ErrnoError("stat");
      entries_.erase(it);
      throw error;
    }
    if (cached.exists || !cached.document.Text().empty()) cached = CachedProfileFile{};
    return cached;
  }
  if (cached.exists && FileIdentity::Of(now) == FileIdentity::Of(cached.status)) return cached;

  try {
    std::string text;
    struct stat status {};
    // A file that keeps changing while it is read is read as it stood last time.
    for (int attempt = 0; attempt < 3; ++attempt) {
      ++diskReads_;
      if (ReadWhole(file, text, status)) break;
    }
    const std::size_t kept = LengthWithoutCutLine(text);
    cached.cutLineLeftOut = kept != text.size();
    text.resize(kept);
    cached.document = IniDocument(std::move(text));
    cached.exists = true;
    cached.status = status;
    cached.appendFd.Reset();  // it belongs to the version we knew
  } catch (const std::system_error& error) {
    if (error.code().value() != ENOENT) {
      entries_.erase(it);
      throw;
    }
    cached = CachedProfileFile{};  // deleted between the stat and the open
  }
  return cached;
}

void ProfileCache::Remember(const std::filesystem::path& file, const struct stat& status) {
  const auto it = entries_.find(file.string());
  if (it == entries_.end()) return;
  it->second.file->exists = true;
  it->second.file->status = status;
  it->second.file->cutLineLeftOut = false;
}

void ProfileCache::Forget(const std::filesystem::path& file) { entries_.erase(file.string()); }

void ProfileCache::Clear() { entries_.clear(); }

void ProfileCache::EvictIfFull() {
  while (entries_.size() >= capacity_) {
    const auto oldest = std::min_element(entries_.begin(), entries_.end(), [](const auto& a, const auto& b) {
      return a.second.lastUse < b.second.lastUse;
    });
    entries_.erase(oldest);
  }
}

}  // namespace platform
