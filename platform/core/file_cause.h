#pragma once
// The causes a file operation can fail with, numbered as the framework's file
// exception numbers them, and the one place where host errno values map to them.

namespace platform {

enum class FileCause : int {
  None = 0,
  Generic = 1,
  FileNotFound = 2,
  BadPath = 3,
  TooManyOpenFiles = 4,
  AccessDenied = 5,
  InvalidFile = 6,
  RemoveCurrentDir = 7,
  DirectoryFull = 8,
  BadSeek = 9,
  HardIO = 10,
  SharingViolation = 11,
  LockViolation = 12,
  DiskFull = 13,
  EndOfFile = 14,
};

// Maps a host errno value to its cause; unknown values give Generic, 0 gives None.
FileCause FileCauseFromErrno(int err);

}  // namespace platform
