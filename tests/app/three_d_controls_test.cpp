#include "app/three_d_controls.h"

#include <gtest/gtest.h>

#include "platform/machine/machine.h"
#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"

namespace {

// The library in the System directory of a machine of the given kind.
void PutLibrary(const qmtest::TempMachineRoot& machine, const char* systemDirectory) {
  qmtest::WriteFileText(machine.DriveC() / systemDirectory / "CTL3DV2.DLL", "MZ");
}

TEST(ThreeDControlsTest, AFoundLibraryIsKeptAndAMissingOneIsNoError) {
  {
    qmtest::TempMachineRoot machine;
    const ThreeDControls missing(false, 0x400000);
    EXPECT_EQ(missing.Handle(), 0u);
    EXPECT_FALSE(missing.Registered());
  }
  qmtest::TempMachineRoot machine;
  PutLibrary(machine, "WINDOWS/SYSTEM");
  const ThreeDControls controls(false, 0x400000);
  EXPECT_GT(controls.Handle(), 32u);
  // The machine's libraries export nothing: a missing export answers zero, so
  // neither registration happens, and nothing fails.
  EXPECT_FALSE(controls.Registered());
  EXPECT_FALSE(controls.AutoSubclassed());
}

TEST(ThreeDControlsTest, NT4NeverLoadsTheLibrary) {
  qmtest::TempMachineRoot machine(platform::MachineConfig::Defaults(platform::PlatformKind::Nt4));
  PutLibrary(machine, "WINNT/SYSTEM32");
  const ThreeDControls controls(true, 0x400000);
  EXPECT_EQ(controls.Handle(), 0u);
  // The same machine would give it to anyone who asked.
  const ThreeDControls asked(false, 0x400000);
  EXPECT_GT(asked.Handle(), 32u);
}

}  // namespace
