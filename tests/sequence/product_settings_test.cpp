// What the install writes for the product itself, on a machine of each test's
// own: the settings file, the log lines of the files the product makes, and the
// removal registration.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/profile/private_profile.h"
#include "platform/registry/registry.h"
#include "sequence/product_settings.h"
#include "tests/common/temp_machine.h"

namespace {

constexpr const char* kLogFile = "Qmw.log";  // in the Windows directory

std::string ReadIni(const std::string& section, const std::string& key, const std::string& file) {
  char buffer[300];
  platform::GetPrivateProfileString(section.c_str(), key.c_str(), "<none>", buffer, sizeof buffer, file);
  return buffer;
}

std::string ReadRegistryText(const std::string& path, const std::string& name) {
  platform::RegKey key = 0;
  if (platform::RegOpenKeyEx(platform::HKEY_LOCAL_MACHINE, path, 0, platform::KEY_READ, &key) !=
      platform::ERROR_SUCCESS) {
    return "<no key>";
  }
  std::uint8_t data[300] = {};
  std::uint32_t size = sizeof data;
  std::uint32_t type = 0;
  const auto status = platform::RegQueryValueEx(key, name, &type, data, &size);
  platform::RegCloseKey(key);
  if (status != platform::ERROR_SUCCESS) return "<no value>";
  std::string text(reinterpret_cast<const char*>(data), size);
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

TEST(ProductSettings, SettingsFileNamesTheWorkingAndClipArtDirectories) {
  // The resolved directories end with a backslash or, set by hand, may not:
  // either way the product sees the same values.
  for (const auto& [work, clipArt] : std::vector<std::pair<std::string, std::string>>{
           {"C:\\DEST\\WORK\\", "C:\\DEST\\ART\\"}, {"C:\\DEST\\WORK", "C:\\DEST\\ART"}}) {
    qmtest::TempMachineRoot machine;
    // No installed file made the working directory: the settings make it.
    WriteProductSettings(work, clipArt);
    const std::string file = ProductSettingsPath(work);
    EXPECT_EQ(file, "C:\\DEST\\WORK\\qmw2.ini");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"DEFAULTJOB", "C:\\DEST\\WORK"},         {"DEFAULTPREMADE", "C:\\DEST\\WORK\\PREMADE"},
        {"DEFAULTSTYLEFILE", "C:\\DEST\\WORK\\QMW.STY"}, {"DEFAULTWORKDIR", "C:\\DEST\\WORK\\"},
        {"DEFAULTDBDIR", "C:\\DEST\\WORK\\"},     {"DEFAULTGRAPHICDIR", "C:\\DEST\\WORK\\"},
        {"DEFAULTCLIPART", "C:\\DEST\\ART"},
    };
    for (const auto& [key, value] : expected) EXPECT_EQ(ReadIni("QMW95", key, file), value) << work << " " << key;
    EXPECT_TRUE(std::filesystem::exists(machine.DriveC() / "DEST" / "WORK" / "qmw2.ini"));
  }
}

TEST(ProductSettings, FilesTheProductMakesAreLoggedForRemoval) {
  qmtest::TempMachineRoot machine;
  LogProductFiles(kLogFile);
  for (const char* name : {"QMW2.INS", "QMW2.GID", "QMW2.FTS"}) {
    EXPECT_EQ(ReadIni("program", name, kLogFile), "1|1|0") << name;
  }
}

TEST(ProductSettings, RemovalRegistrationNamesUnsetupInTheInstallDirectoryAndLogsItsKey) {
  qmtest::TempMachineRoot machine;
  WriteRemovalRegistration("C:\\QMW2", kLogFile);
  const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\UNINSTALL\\Qmw2DKey";
  EXPECT_EQ(ReadRegistryText(key, "DisplayName"), "Quillmark v2");
  EXPECT_EQ(ReadRegistryText(key, "UninstallString"), "C:\\QMW2\\Unsetup.exe");
  EXPECT_EQ(ReadIni("Registry", "HKEY_LOCAL_MACHINE\\" + key, kLogFile), "x");
}

}  // namespace
