#pragma once
// One run at a time on a machine: an exclusive flock() on <root>/run/run.lock.
//
// The lock belongs to an open file description that exec closes (O_CLOEXEC), so
// the kernel drops it when the holder dies, however it dies, and when the
// holder replaces itself by another program: a lock left behind by a killed or
// finished run never blocks the next one. Programs the holder starts do not
// inherit it either. The file itself stays; only the lock on it counts.

#include <filesystem>
#include <memory>

#include "platform/machine/machine.h"

namespace platform {

class MachineRunLock {
 public:
  // The machine's lock, or null when another holder has it now. Never waits.
  // Throws platform::FileException when the lock file cannot be opened.
  static std::unique_ptr<MachineRunLock> TryAcquire(const Machine& machine);

  // Only TryAcquire can make one.
  class Key {
    friend class MachineRunLock;
    Key() = default;
  };
  MachineRunLock(Key, int fd) : fd_(fd) {}
  ~MachineRunLock();
  MachineRunLock(const MachineRunLock&) = delete;
  MachineRunLock& operator=(const MachineRunLock&) = delete;

  static std::filesystem::path LockFile(const Machine& machine);

 private:
  int fd_;
};

}  // namespace platform
