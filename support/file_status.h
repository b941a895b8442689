#pragma once
// The file-status record through which times and attributes are read and set:
// times as 32-bit counts of seconds since 1970-01-01 UTC, as the archive format
// records them.

#include <cstdint>
#include <string>
#include <string_view>

struct CFileStatus {
  uint32_t creationTime = 0;
  uint32_t lastWriteTime = 0;   // 0 on writing: leave the file's time
  uint32_t lastAccessTime = 0;  // 0 on writing: leave the file's time
  uint64_t size = 0;            // 64-bit: a 32-bit size wraps on files beyond 4 GB
  uint8_t attributes = 0;       // read-only 0x01, hidden 0x02, system 0x04, directory 0x10, archive 0x20
  std::string fullName;         // full Windows path, at most 260 characters
};

// A host time in the 32-bit range: earlier times give 0, later ones the largest value.
uint32_t ToFileTime32(int64_t seconds);

// Fills status from the file system; false (errno set) when the file cannot be read.
bool GetStatus(std::string_view fileName, CFileStatus& status);
// Sets the file's last-write and last-access times and its attributes from status
// (the creation time and the directory bit cannot be set); false with errno set.
bool SetStatus(std::string_view fileName, const CFileStatus& status);
