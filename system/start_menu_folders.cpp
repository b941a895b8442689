#include "system/start_menu_folders.h"

#include <cstdint>

#include "platform/registry/registry.h"
#include "support/subdirectories.h"

std::string ProgramsFolderPath() {
  platform::RegKey key = 0;
  if (platform::RegOpenKeyEx(platform::HKEY_CURRENT_USER, kShellFoldersKey, 0, platform::KEY_READ, &key) !=
      platform::ERROR_SUCCESS) {
    return {};
  }
  std::string path;
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (platform::RegQueryValueEx(key, kProgramsValue, &type, nullptr, &size) == platform::ERROR_SUCCESS &&
      (type == platform::REG_SZ || type == platform::REG_EXPAND_SZ) && size > 0) {
    std::string data(size, '\0');
    if (platform::RegQueryValueEx(key, kProgramsValue, &type, reinterpret_cast<std::uint8_t*>(data.data()),
                                  &size) == platform::ERROR_SUCCESS) {
      data.resize(size);
      path = data.substr(0, data.find('\0'));
    }
  }
  platform::RegCloseKey(key);
  return path;
}

std::vector<std::string> StartMenuProgramFolders() { return SubdirectoryNames(ProgramsFolderPath()); }
