#include "platform/profile/host_profile.h"

#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <string>
#include <string_view>
#include <system_error>

#include "platform/profile/ini_document.h"
#include "platform/profile/profile_buffer.h"
#include "platform/profile/profile_cache.h"
#include "platform/profile/profile_file_writer.h"

namespace platform {
namespace {

// The product has one thread; the lock only keeps the shared cache sound if
// another ever calls in.
std::mutex& EngineLock() {
  static std::mutex lock;
  return lock;
}

ProfileCache& Cache() {
  static ProfileCache cache;
  return cache;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool IsStorableSection(std::string_view section) {
  return !HasLineBreak(section) && section.find(']') == std::string_view::npos;
}

bool IsStorableKey(std::string_view key) {
  const std::string_view trimmed = TrimBlanks(key);
  return !HasLineBreak(key) && key.find('=') == std::string_view::npos &&
         (trimmed.empty() || (trimmed.front() != '[' && trimmed.front() != ';'));
}

// Read-only is the write bits, for root too, whom the kernel would let write.
bool HasWriteBits(const struct stat& status) { return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0; }

std::system_error AccessDenied() { return std::system_error(EACCES, std::generic_category(), "read-only"); }

// The cached document of the file; an unreadable file reads as empty.
const IniDocument& DocumentForReading(const std::filesystem::path& file, const struct stat* seen) {
  static const IniDocument empty;
  try {
    return Cache().Load(file, seen).document;
  } catch (const std::system_error&) {
    return empty;
  }
}

// Applies one change to the cached document and puts it on disk. Throws
// FileChangedError when the disk no longer matched the cache.
void ApplyWrite(const std::filesystem::path& file, const char* section, const char* key, const char* value,
                const struct stat* seen) {
  CachedProfileFile& cached = Cache().Load(file, seen);
  if (cached.exists && !HasWriteBits(cached.status)) throw AccessDenied();
  IniDocument& document = cached.document;
  const std::size_t oldSize = document.Text().size();
  const IniDocument::Change change = key == nullptr     ? document.RemoveSection(section)
                                     : value == nullptr ? document.RemoveKey(section, key)
                                                        : document.Set(section, key, value);
  if (change == IniDocument::Change::None) return;
  // A cut line left out of the document is still on disk: appending would join
  // the new line to it into an entry nobody wrote, and cutting back from the
  // end would measure from the wrong size, so the file is written anew.
  const bool atTheEnd = !cached.cutLineLeftOut;
  struct stat status {};
  if (change == IniDocument::Change::Appended && atTheEnd) {
    std::optional<FileIdentity> expected;
    if (cached.exists) expected = FileIdentity::Of(cached.status);
    status = AppendToFile(file, std::string_view(document.Text()).substr(oldSize), expected, cached.appendFd);
  } else if (change == IniDocument::Change::Truncated && atTheEnd && cached.exists) {
    status = TruncateFile(file, static_cast<off_t>(document.Text().size()), FileIdentity::Of(cached.status),
                          cached.appendFd);
  } else {
    cached.appendFd.Reset();  // the file that follows is a new one
    // Every file we write ends with a line end, so that a last line without
    // one is what a cut append left (cut_append.h).
    document.EndLastLine();
    // Opening the file for an append asks the kernel; a rename would not, so ask here.
    if (cached.exists && ::access(file.c_str(), W_OK) != 0) throw AccessDenied();
    status = ReplaceFile(file, document.Text(), cached.exists ? &cached.status : nullptr);
  }
  Cache().Remember(file, status);
}

}  // namespace

std::size_t GetHostProfileString(const std::filesystem::path& file, const char* section, const char* key,
                                 const char* defaultValue, char* buffer, std::size_t size, const struct stat* seen) {
  if (buffer == nullptr || size == 0) return 0;
  const std::lock_guard<std::mutex> guard(EngineLock());
  const IniDocument& document = DocumentForReading(file, seen);
  if (section == nullptr) return CopyNameListToBuffer(document.SectionNames(), buffer, size);
  if (key == nullptr) return CopyNameListToBuffer(document.KeyNames(section), buffer, size);
  const std::optional<std::string> value = document.Get(section, key);
  if (!value) return CopyTextToBuffer(defaultValue ? defaultValue : "", buffer, size);
  return CopyTextToBuffer(StripQuotes(*value), buffer, size);
}

unsigned GetHostProfileInt(const std::filesystem::path& file, const char* section, const char* key,
                           int defaultValue, const struct stat* seen) {
  if (section == nullptr || key == nullptr) return static_cast<unsigned>(defaultValue);
  const std::lock_guard<std::mutex> guard(EngineLock());
  const std::optional<std::string> value = DocumentForReading(file, seen).Get(section, key);
  if (!value) return static_cast<unsigned>(defaultValue);
  const std::string_view text = TrimBlanks(StripQuotes(*value));
  if (text.empty()) return static_cast<unsigned>(defaultValue);
  return ParseProfileInt(text);
}

bool WriteHostProfileString(const std::filesystem::path& file, const char* section, const char* key,
                            const char* value, const struct stat* seen) {
  if (section == nullptr) {
    if (key == nullptr && value == nullptr) return true;
    errno = EINVAL;
    return false;
  }
  if (!IsStorableSection(section) || (key && !IsStorableKey(key)) || (value && HasLineBreak(value))) {
    errno = EINVAL;
    return false;
  }
  const std::lock_guard<std::mutex> guard(EngineLock());
  // A change by another process between our check and our write is rare; the
  // second attempt reads the file again and starts from what is there.
  for (int attempt = 0; attempt < 3; ++attempt) {
    try {
      // A second attempt looks at the file afresh.
      ApplyWrite(file, section, key, value, attempt == 0 ? seen : nullptr);
      return true;
    } catch (const FileChangedError&) {
      Cache().Forget(file);
    } catch (const std::system_error& error) {
      Cache().Forget(file);  // the cached document holds the change that failed
      errno = error.code().value();
      return false;
    } catch (...) {
      Cache().Forget(file);
      throw;
    }
  }
  errno = EBUSY;
  return false;
}

void FlushHostProfileCache() {
  const std::lock_guard<std::mutex> guard(EngineLock());
  Cache().Clear();
}

std::uint64_t HostProfileDiskReads() {
  const std::lock_guard<std::mutex> guard(EngineLock());
  return Cache().DiskReads();
}

}  // namespace platform
