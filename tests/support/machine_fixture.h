#pragma once
// A throw-away emulated machine for the support tests: drive C: (fixed), D: (fixed,
// empty), A: (a 1.44 MB diskette), E: (a CD-ROM whose free-space override is above
// 4 GB) and Z:, all under a temporary root removed afterwards. The host's current
// directory is restored, since changing directories is part of what is tested.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/machine/machine.h"
#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"

class MachineTest : public ::testing::Test {
 protected:
  static constexpr uint64_t kCdFreeBytes = 4ull * 1024 * 1024 * 1024;  // exactly 4 GiB: wraps to 0 in 32 bits
  static constexpr uint64_t kCdTotalBytes = 10'000'000'000ull;

  // The host path of a place on drive C: or D:, for staging fixtures behind the
  // platform's back.
  std::filesystem::path OnC(const std::string& relative) const { return temp_.Root() / "drive_c" / relative; }
  std::filesystem::path OnD(const std::string& relative) const { return temp_.Root() / "drive_d" / relative; }

 private:
  static platform::MachineConfig DriveConfig() {
    platform::MachineConfig config = platform::MachineConfig::Defaults(platform::PlatformKind::Win95);
    config.drives.push_back(platform::ParseDriveSpec('D', "fixed,drive_d"));
    config.drives.push_back(platform::ParseDriveSpec('A', "removable,drive_a,free=1000000,total=1474560"));
    config.drives.push_back(platform::ParseDriveSpec(
        'E', "cdrom,drive_e,free=" + std::to_string(kCdFreeBytes) + ",total=" + std::to_string(kCdTotalBytes)));
    return config;
  }

  qmtest::TempMachineRoot temp_{DriveConfig()};
};
