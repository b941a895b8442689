// The machine's run lock: one holder at a time, and never kept by a holder
// that died or replaced itself by another program.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/machine/machine_run_lock.h"
#include "tests/common/temp_machine.h"

namespace platform {
namespace {

TEST(MachineRunLock, OneHolderAtATimeAndFreeAgainWhenItIsDropped) {
  const qmtest::TempMachineRoot root;
  const Machine& machine = CurrentMachine();
  std::unique_ptr<MachineRunLock> first = MachineRunLock::TryAcquire(machine);
  ASSERT_NE(first, nullptr);
  // Another open of the file is another holder, even in the same process.
  EXPECT_EQ(MachineRunLock::TryAcquire(machine), nullptr);
  first.reset();
  EXPECT_NE(MachineRunLock::TryAcquire(machine), nullptr);
  // A machine whose run directory went is given it back.
  std::filesystem::remove_all(machine.RunDirectory());
  EXPECT_NE(MachineRunLock::TryAcquire(machine), nullptr);
}

// What becomes of a holder in another process after it took the lock.
enum class Holder { Running, Killed, ReplacedByAnotherProgram };

struct HolderCase {
  const char* name;
  Holder holder;
  bool lockFree;
};

class MachineRunLockHolder : public ::testing::TestWithParam<HolderCase> {};

TEST_P(MachineRunLockHolder, LocksOutOthersOnlyWhileItRuns) {
  const qmtest::TempMachineRoot root;
  const Machine& machine = CurrentMachine();
  int ready[2];
  // exec closes the write end: the reader's end of file says the exec happened.
  ASSERT_EQ(::pipe2(ready, O_CLOEXEC), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const std::unique_ptr<MachineRunLock> lock = MachineRunLock::TryAcquire(machine);
    const char answer = lock ? 'L' : '-';
    if (::write(ready[1], &answer, 1) != 1) ::_exit(1);
    if (GetParam().holder == Holder::ReplacedByAnotherProgram) {
      ::execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
      ::_exit(1);
    }
    for (;;) ::pause();
  }
  ::close(ready[1]);
  char answer = 0;
  ASSERT_EQ(::read(ready[0], &answer, 1), 1);
  ASSERT_EQ(answer, 'L');
  if (GetParam().holder == Holder::ReplacedByAnotherProgram) {
    EXPECT_EQ(::read(ready[0], &answer, 1), 0);  // blocks until the exec
  }
  ::close(ready[0]);
  if (GetParam().holder == Holder::Killed) {
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
  }

  EXPECT_EQ(MachineRunLock::TryAcquire(machine) != nullptr, GetParam().lockFree);

  if (GetParam().holder != Holder::Killed) {
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
  }
}

const HolderCase kHolders[] = {
    {"Running", Holder::Running, false},
    {"Killed", Holder::Killed, true},
    {"ReplacedByAnotherProgram", Holder::ReplacedByAnotherProgram, true},
};

INSTANTIATE_TEST_SUITE_P(Holders, MachineRunLockHolder, ::testing::ValuesIn(kHolders),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace platform
