// The machine's run lock: one holder at a time, and never kept by a holder
// that died or replaced itself by another program.

#include "platform/machine/machine_run_lock.h"

#include <gtest/gtest.h>

#include "tests/common/run_lock_holder.h"
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
enum class Fate { Running, Killed, ReplacedByAnotherProgram };

struct HolderCase {
  const char* name;
  Fate fate;
  bool lockFree;
};

class MachineRunLockHolder : public ::testing::TestWithParam<HolderCase> {};

TEST_P(MachineRunLockHolder, LocksOutOthersOnlyWhileItRuns) {
  const qmtest::TempMachineRoot root;
  const bool exec = GetParam().fate == Fate::ReplacedByAnotherProgram;
  qmtest::RunLockHolder holder(exec ? qmtest::RunLockHolder::Then::Exec : qmtest::RunLockHolder::Then::Wait);
  ASSERT_TRUE(holder.TookLock());
  if (GetParam().fate == Fate::Killed) holder.Kill();
  EXPECT_EQ(MachineRunLock::TryAcquire(CurrentMachine()) != nullptr, GetParam().lockFree);
}

const HolderCase kHolders[] = {
    {"Running", Fate::Running, false},
    {"Killed", Fate::Killed, true},
    {"ReplacedByAnotherProgram", Fate::ReplacedByAnotherProgram, true},
};

INSTANTIATE_TEST_SUITE_P(Holders, MachineRunLockHolder, ::testing::ValuesIn(kHolders),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace platform
