#pragma once
// File and directory operations on Windows paths, in the shape of the Windows
// kernel's. Those returning bool leave errno set when they fail.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/machine/machine.h"

namespace platform {

// DOS attribute bits. Read-only is the host's write bits; hidden, system and
// archive live in the user.DOSATTRIB extended attribute where the file system
// has one, and are silently absent where it has not.
inline constexpr uint32_t kAttrReadOnly = 0x01;
inline constexpr uint32_t kAttrHidden = 0x02;
inline constexpr uint32_t kAttrSystem = 0x04;
inline constexpr uint32_t kAttrDirectory = 0x10;
inline constexpr uint32_t kAttrArchive = 0x20;
inline constexpr uint32_t kAttrNormal = 0x80;  // none of the others
inline constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;

uint32_t GetFileAttributes(std::string_view path);  // kInvalidAttributes on failure
bool SetFileAttributes(std::string_view path, uint32_t attributes);

// Times are seconds since 1970-01-01 UTC.
struct FileStatus {
  int64_t creationTime = 0;  // birth time where the file system keeps one, else last write
  int64_t lastWriteTime = 0;
  int64_t lastAccessTime = 0;
  uint64_t size = 0;
  uint32_t attributes = 0;
  std::string fullName;  // full Windows path, its components spelled as stored on the host
};
bool GetFileStatus(std::string_view path, FileStatus& status);
// Sets the last-write and last-access times (a 0 leaves that time) and the attributes.
bool SetFileStatus(std::string_view path, const FileStatus& status);
bool SetLastWriteTime(std::string_view path, int64_t seconds);

bool FileExists(std::string_view path);  // a file or directory of that name exists
bool DeleteFile(std::string_view path);
// Moves a file or directory; fails when the target exists, as on Windows.
bool MoveFile(std::string_view from, std::string_view to);

bool CreateDirectory(std::string_view path);  // the last component only
bool RemoveDirectory(std::string_view path);  // an empty directory only
std::string GetCurrentDirectory();            // full Windows path
bool SetCurrentDirectory(std::string_view path);

// The type of the drive of a root path such as "C:\"; Unknown when not mapped.
DriveType GetDriveType(std::string_view rootPath);
struct DiskSpace {
  uint64_t freeBytes = 0;  // 64-bit: disks beyond 4 GB are common
  uint64_t totalBytes = 0;
};
// The drive's free and total bytes: the overrides of system.ini where given,
// else what the host file system reports.
bool GetDiskFreeSpace(std::string_view rootPath, DiskSpace& space);

}  // namespace platform
