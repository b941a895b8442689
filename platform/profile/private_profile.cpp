#include "platform/profile/private_profile.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <string>

#include "platform/fs/path_map.h"
#include "platform/machine/system_info.h"
#include "platform/profile/host_profile.h"

namespace platform {
namespace {

// The host path of a profile file name; a bare name lies in the Windows directory.
bool HostPathOf(std::string_view fileName, std::filesystem::path& hostPath, struct stat& seen) {
  seen.st_mode = 0;
  if (fileName.empty()) {
    errno = EINVAL;
    return false;
  }
  try {
    std::string winPath(fileName);
    if (fileName.find_first_of("\\/:") == std::string_view::npos) {
      winPath = GetWindowsDirectory() + "\\" + winPath;
    }
    return MapToHost(winPath, hostPath, &seen);
  } catch (const std::exception&) {
    // No machine to map the name on: the file is out of reach.
    errno = ENODEV;
    return false;
  }
}

}  // namespace

std::size_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                    char* buffer, std::size_t size, std::string_view fileName) {
  std::filesystem::path hostPath;
  struct stat seen;
  // An unreachable file reads as a missing one.
  if (!HostPathOf(fileName, hostPath, seen)) hostPath.clear();
  return GetHostProfileString(hostPath, section, key, defaultValue, buffer, size, &seen);
}

unsigned GetPrivateProfileInt(const char* section, const char* key, int defaultValue,
                              std::string_view fileName) {
  std::filesystem::path hostPath;
  struct stat seen;
  if (!HostPathOf(fileName, hostPath, seen)) return static_cast<unsigned>(defaultValue);
  return GetHostProfileInt(hostPath, section, key, defaultValue, &seen);
}

bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               std::string_view fileName) {
  std::filesystem::path hostPath;
  struct stat seen;
  if (!HostPathOf(fileName, hostPath, seen)) return false;
  return WriteHostProfileString(hostPath, section, key, value, &seen);
}

}  // namespace platform
