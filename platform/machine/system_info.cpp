#include "platform/machine/system_info.h"

namespace platform {

OsVersion GetVersionEx() { return CurrentMachine().Version(); }

std::string GetWindowsDirectory() { return CurrentMachine().Config().windowsDir; }

std::string GetSystemDirectory() { return CurrentMachine().Config().systemDir; }

std::string GetTempPath() {
  std::string path = CurrentMachine().Config().tempDir;
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

std::string GetCountryName() { return CurrentMachine().Config().country; }

}  // namespace platform
