// CPath: the current directory, and creating and removing directories.

#include <cerrno>

#include "platform/core/exceptions.h"
#include "platform/fs/file_ops.h"
#include "support/path.h"

bool CPath::ChangeToDirectory() const {
  const std::string directory = GetDriveAndDirectory();
  return !directory.empty() && platform::SetCurrentDirectory(directory);
}

bool CPath::RemoveDirectory() const { return platform::RemoveDirectory(GetDriveAndDirectory()); }

bool CPath::CreateDirectory(bool withParents) const {
  const std::string directory = GetDriveAndDirectory();
  if (!directory.empty() && platform::CreateDirectory(directory)) return true;
  // The existence test below overwrites errno; the caller's error report must name
  // why the creation failed (access denied, disk full), not why the test failed.
  const int createError = directory.empty() ? EINVAL : errno;
  if (ChangeToDirectory()) return true;
  if (withParents) {
    CPath parent(*this);
    if (!parent.RemoveLastDirectory().empty()) {
      parent.CreateDirectory(true);
      return CreateDirectory(false);
    }
  }
  errno = createError;
  return false;
}

void CPath::EnsureDirectory() const {
  if (!CreateDirectory(true)) throw platform::FileException::FromErrno(errno, GetDriveAndDirectory());
}
