#pragma once
// A small cache of parsed INI files keyed by host path, so that a caller who
// writes one key per installed file does not read and parse the whole file on
// every call. Each access checks the file's identity on disk (device, inode,
// size, modification and change time to the nanosecond) with one stat() and
// reads the file again when it differs, so a change by another process is seen.
// Not thread-safe: the engine that owns it serialises the calls.

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/core/unique_fd.h"
#include "platform/profile/ini_document.h"

namespace platform {

// What tells one version of a file from another without reading it. The change
// time is part of it so that a chmod by someone else (making the file read-only)
// is seen too.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};

  static FileIdentity Of(const struct stat& status);
  bool operator==(const FileIdentity& other) const;
};

// One cached file: its parsed text and, when it exists, its status as last seen.
struct CachedProfileFile {
  IniDocument document;
  bool exists = false;
  struct stat status {};
  // The file ends in what a cut append left (cut_append.h), which the document
  // leaves out; the next write must replace the file rather than append to it.
  bool cutLineLeftOut = false;
  // The descriptor of our last append or cut, whose status `status` is; closed
  // whenever the file is seen to be another version (profile_file_writer.h).
  UniqueFd appendFd;
};

class ProfileCache {
 public:
  explicit ProfileCache(std::size_t capacity = 8);

  // The file as it is on disk now: from the cache when its identity is unchanged,
  // else read and parsed again; a partial last line that a cut append left is
  // not part of the document. A missing file (or one under a missing
  // directory) is an empty document. Throws std::system_error when the file
  // exists but cannot be read (no read permission, or not a regular file).
  // The reference stays valid until the next call for another file or Forget.
  // seen: the file's lstat() status taken just now by the caller, used in place
  // of a stat() of its own when it is a regular file's (null or st_mode 0: none).
  CachedProfileFile& Load(const std::filesystem::path& file, const struct stat* seen = nullptr);

  // Records the status a file has after a write of our own that made its text
  // the cached document.
  void Remember(const std::filesystem::path& file, const struct stat& status);
  // Drops a file whose cached document no longer matches the disk.
  void Forget(const std::filesystem::path& file);
  void Clear();

  // How many times a file was read from disk; for tests.
  std::uint64_t DiskReads() const { return diskReads_; }

 private:
  struct Entry {
    std::unique_ptr<CachedProfileFile> file;
    std::uint64_t lastUse = 0;
  };
  void EvictIfFull();

  std::size_t capacity_;
  std::unordered_map<std::string, Entry> entries_;
  std::uint64_t clock_ = 0;
  std::uint64_t diskReads_ = 0;
};

}  // namespace platform
