#include "support/drive_iterator.h"

#include "platform/fs/file_ops.h"

std::string CDriveIterator::RootPathOf(int index) {
  return std::string{static_cast<char>('a' + index), ':', '\\'};
}

bool CDriveIterator::Next() {
  for (int index = index_ + 1; index <= kLastIndex; ++index) {
    if (platform::GetDriveType(RootPathOf(index)) != platform::DriveType::Unknown) {
      index_ = index;
      return true;
    }
  }
  return false;
}

bool CDriveIterator::FindNextOfType(platform::DriveType type) {
  while (Next()) {
    if (GetType() == type) return true;
  }
  return false;
}

std::string CDriveIterator::GetRootPath() const { return RootPathOf(index_); }

platform::DriveType CDriveIterator::GetType() const {
  if (index_ < 0) return platform::DriveType::Unknown;
  return platform::GetDriveType(GetRootPath());
}
