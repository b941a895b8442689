#pragma once
// A throw-away emulated machine for the support tests: drive C: (fixed), D: (fixed,
// empty), A: (a 1.44 MB diskette), E: (a CD-ROM whose free-space override is above
// 4 GB) and Z:, all under a temporary root removed afterwards. The host's current
// directory is restored, since changing directories is part of what is tested.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/machine/machine.h"

class MachineTest : public ::testing::Test {
 protected:
  static constexpr uint64_t kCdFreeBytes = 4ull * 1024 * 1024 * 1024;  // exactly 4 GiB: wraps to 0 in 32 bits
  static constexpr uint64_t kCdTotalBytes = 10'000'000'000ull;

  void SetUp() override {
    savedCwd_ = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "qm-support-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;

    platform::MachineConfig config = platform::MachineConfig::Defaults(platform::PlatformKind::Win95);
    config.drives.push_back(platform::ParseDriveSpec('D', "fixed,drive_d"));
    config.drives.push_back(platform::ParseDriveSpec('A', "removable,drive_a,free=1000000,total=1474560"));
    config.drives.push_back(platform::ParseDriveSpec(
        'E', "cdrom,drive_e,free=" + std::to_string(kCdFreeBytes) + ",total=" + std::to_string(kCdTotalBytes)));
    platform::Machine::Create(root_, config);
    platform::UseMachine(root_);
  }

  void TearDown() override {
    std::filesystem::current_path(savedCwd_);
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }

  // The host path of a place on drive C: or D:, for staging fixtures behind the
  // platform's back.
  std::filesystem::path OnC(const std::string& relative) const { return root_ / "drive_c" / relative; }
  std::filesystem::path OnD(const std::string& relative) const { return root_ / "drive_d" / relative; }

  static void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
  }

  std::filesystem::path root_;

 private:
  std::filesystem::path savedCwd_;
};
