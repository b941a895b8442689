// CPath: the type and the space of the path's drive. Byte counts are 64-bit all
// the way: 32-bit products wrap on disks beyond 4 GB, and a large empty disk could
// then look full to the space checks.

#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "support/path.h"

// The root of the path's drive, or of the current drive when the path has none.
std::string CPath::QueryRoot() const {
  std::string root;
  if (!platform::GetFullPathName(GetRoot().Text(), root)) return GetRoot().Text();
  return root;
}

platform::DriveType CPath::GetDriveType() const { return platform::GetDriveType(QueryRoot()); }

bool CPath::IsRemovable() const { return GetDriveType() == platform::DriveType::Removable; }

uint64_t CPath::GetFreeBytes() const {
  platform::DiskSpace space;
  return platform::GetDiskFreeSpace(QueryRoot(), space) ? space.freeBytes : 0;
}

uint64_t CPath::GetTotalBytes() const {
  platform::DiskSpace space;
  return platform::GetDiskFreeSpace(QueryRoot(), space) ? space.totalBytes : 0;
}
