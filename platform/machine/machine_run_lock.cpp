#include "platform/machine/machine_run_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/core/exceptions.h"

namespace platform {

std::filesystem::path MachineRunLock::LockFile(const Machine& machine) {
  return machine.RunDirectory() / "run.lock";
}

std::unique_ptr<MachineRunLock> MachineRunLock::TryAcquire(const Machine& machine) {
  const std::filesystem::path file = LockFile(machine);
  // A machine made before run/ existed gets it now.
  std::error_code ignored;
  std::filesystem::create_directories(file.parent_path(), ignored);
  int fd = -1;
  do {
    fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) throw FileException::FromErrno(errno, file.string());
  int result = -1;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result == 0) return std::make_unique<MachineRunLock>(Key{}, fd);
  const int err = errno;
  ::close(fd);
  if (err == EWOULDBLOCK) return nullptr;
  throw FileException::FromErrno(err, file.string());
}

MachineRunLock::~MachineRunLock() { ::close(fd_); }

}  // namespace platform
