#pragma once
// The user's start-menu Programs folder of a test machine with folders in it,
// named in the registry as the system names it.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/registry/registry.h"
#include "tests/common/temp_machine.h"

namespace qmtest {

inline void SeedStartMenu(const TempMachineRoot& machine, const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    std::filesystem::create_directories(machine.DriveC() / "WINDOWS" / "Start Menu" / "Programs" / folder);
  }
  platform::RegKey key = 0;
  ASSERT_EQ(platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER,
                                     "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "", 0,
                                     platform::KEY_ALL_ACCESS, nullptr, &key, nullptr),
            platform::ERROR_SUCCESS);
  const std::string data = std::string("C:\\WINDOWS\\Start Menu\\Programs") + '\0';
  const std::vector<std::uint8_t> bytes(data.begin(), data.end());
  ASSERT_EQ(platform::RegSetValueEx(key, "Programs", platform::REG_SZ, bytes), platform::ERROR_SUCCESS);
  platform::RegCloseKey(key);
}

}  // namespace qmtest
