// Drive types and sizes, from the machine's drive table and the host.

#include <sys/statvfs.h>

#include <cerrno>

#include "platform/fs/file_ops.h"

namespace platform {
namespace {

// The drive of a root path "C:\", "C:/" or "C:"; null for anything else.
const DriveMapping* DriveOfRoot(std::string_view root) {
  const bool letter = !root.empty() && ((root[0] >= 'A' && root[0] <= 'Z') || (root[0] >= 'a' && root[0] <= 'z'));
  const bool shape = root.size() == 2 || (root.size() == 3 && (root[2] == '\\' || root[2] == '/'));
  if (!letter || !shape || root[1] != ':') return nullptr;
  return CurrentMachine().FindDrive(root[0]);
}

}  // namespace

DriveType GetDriveType(std::string_view rootPath) {
  const DriveMapping* drive = DriveOfRoot(rootPath);
  return drive == nullptr ? DriveType::Unknown : drive->type;
}

bool GetDiskFreeSpace(std::string_view rootPath, DiskSpace& space) {
  const DriveMapping* drive = DriveOfRoot(rootPath);
  if (drive == nullptr) {
    errno = ENODEV;
    return false;
  }
  DiskSpace result;
  if (!drive->freeBytes || !drive->totalBytes) {
    struct statvfs info;
    const std::filesystem::path host = CurrentMachine().DriveHostPath(*drive);
    if (statvfs(host.c_str(), &info) != 0) return false;
    // 64-bit products: a 32-bit one wraps on disks beyond 4 GB.
    result.freeBytes = static_cast<uint64_t>(info.f_bavail) * static_cast<uint64_t>(info.f_frsize);
    result.totalBytes = static_cast<uint64_t>(info.f_blocks) * static_cast<uint64_t>(info.f_frsize);
  }
  if (drive->freeBytes) result.freeBytes = *drive->freeBytes;
  if (drive->totalBytes) result.totalBytes = *drive->totalBytes;
  space = result;
  return true;
}

}  // namespace platform
