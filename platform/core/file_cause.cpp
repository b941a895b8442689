#include "platform/core/file_cause.h"

#include <cerrno>

namespace platform {

FileCause FileCauseFromErrno(int err) {
  switch (err) {
    case 0:
      return FileCause::None;
    case ENOENT:
      return FileCause::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
    case ENODEV:
    case ENXIO:
      return FileCause::BadPath;
    case EMFILE:
    case ENFILE:
      return FileCause::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
    case ENOTEMPTY:
      return FileCause::AccessDenied;
    case EBADF:
    case EFBIG:
      return FileCause::InvalidFile;
    case EBUSY:
      return FileCause::RemoveCurrentDir;
    case EMLINK:
      return FileCause::DirectoryFull;
    case ESPIPE:
    case EOVERFLOW:
      return FileCause::BadSeek;
    case EIO:
      return FileCause::HardIO;
    case ETXTBSY:
      return FileCause::SharingViolation;
    case EAGAIN:
    case EDEADLK:
    case ENOLCK:
      return FileCause::LockViolation;
    case ENOSPC:
    case EDQUOT:
      return FileCause::DiskFull;
    default:
      return FileCause::Generic;
  }
}

}  // namespace platform
