#pragma once
// Another process holding the current machine's run lock: it takes the lock,
// then either waits to be killed or replaces itself by "sleep 30". The
// constructor returns once it has done so.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/machine/machine_run_lock.h"

namespace qmtest {

class RunLockHolder {
 public:
  enum class Then { Wait, Exec };

  explicit RunLockHolder(Then then = Then::Wait) {
    int ready[2];
    // exec closes the write end: end of file tells the exec happened.
    if (::pipe2(ready, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      const auto lock = platform::MachineRunLock::TryAcquire(platform::CurrentMachine());
      const char answer = lock ? 'L' : '-';
      if (::write(ready[1], &answer, 1) != 1) ::_exit(1);
      if (then == Then::Exec) {
        ::execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
        ::_exit(::write(ready[1], "x", 1) == 1 ? 1 : 2);  // not replaced after all
      }
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char answer = 0;
    tookLock_ = pid_ > 0 && ::read(ready[0], &answer, 1) == 1 && answer == 'L';
    if (then == Then::Exec) tookLock_ = tookLock_ && ::read(ready[0], &answer, 1) == 0;
    ::close(ready[0]);
  }
  ~RunLockHolder() { Kill(); }
  RunLockHolder(const RunLockHolder&) = delete;
  RunLockHolder& operator=(const RunLockHolder&) = delete;

  bool TookLock() const { return tookLock_; }
  void Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  bool tookLock_ = false;
};

}  // namespace qmtest
