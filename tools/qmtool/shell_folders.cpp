#include "tools/qmtool/shell_folders.h"

#include <cstdint>
#include <span>

#include "platform/fs/file_ops.h"
#include "platform/registry/registry.h"

namespace qmtool {
namespace {

// Creates every missing directory of winPath, parents first.
void CreateDirectories(const std::string& winPath) {
  for (std::size_t end = winPath.find('\\', 3);; end = winPath.find('\\', end + 1)) {
    const std::string prefix = winPath.substr(0, end);
    if (!platform::FileExists(prefix) && !platform::CreateDirectory(prefix)) {
      throw platform::MachineError("cannot create the folder " + prefix);
    }
    if (end == std::string::npos) return;
  }
}

}  // namespace

std::string ProgramsFolderOf(const platform::MachineConfig& config) {
  if (config.platform == platform::PlatformKind::Win95) return config.windowsDir + "\\Start Menu\\Programs";
  return config.windowsDir + "\\Profiles\\Administrator\\Start Menu\\Programs";
}

std::string SeedShellFolders(const platform::MachineConfig& config) {
  const std::string programs = ProgramsFolderOf(config);
  CreateDirectories(programs);

  platform::RegKey key = 0;
  platform::RegStatus status = platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, kShellFoldersKey, "", 0,
                                                        platform::KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status == platform::ERROR_SUCCESS) {
    // Text without a terminating zero, as the setup itself writes text values.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(programs.data());
    status = platform::RegSetValueEx(key, "Programs", platform::REG_SZ, std::span(bytes, programs.size()));
    platform::RegCloseKey(key);
  }
  if (status != platform::ERROR_SUCCESS) {
    throw platform::MachineError("cannot write the Programs shell folder (registry error " +
                                 std::to_string(status) + ")");
  }
  return programs;
}

void SeedUninstallKey() {
  platform::RegKey key = 0;
  const platform::RegStatus status = platform::RegCreateKeyEx(platform::HKEY_LOCAL_MACHINE, kUninstallKey, "", 0,
                                                              platform::KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (status != platform::ERROR_SUCCESS) {
    throw platform::MachineError("cannot create the uninstall key (registry error " + std::to_string(status) + ")");
  }
  platform::RegCloseKey(key);
}

}  // namespace qmtool
