#include "install/log/ini_defaults.h"

#include <utility>

namespace {

std::string& DefaultFile() {
  static std::string name;
  return name;
}

bool g_autoWrite = false;

}  // namespace

void SetDefaultIniFileName(std::string fileName) { DefaultFile() = std::move(fileName); }
const std::string& DefaultIniFileName() { return DefaultFile(); }

void SetIniAutoWriteEnabled(bool enabled) { g_autoWrite = enabled; }
bool IniAutoWriteEnabled() { return g_autoWrite; }
