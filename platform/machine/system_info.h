#pragma once
// The system queries that Windows answers from its own configuration, answered
// from the current machine.

#include <string>

#include "platform/machine/machine.h"

namespace platform {

OsVersion GetVersionEx();
std::string GetWindowsDirectory();  // "C:\WINDOWS", no trailing backslash
std::string GetSystemDirectory();   // "C:\WINDOWS\SYSTEM"
std::string GetTempPath();          // "C:\WINDOWS\TEMP\", with the trailing backslash
std::string GetCountryName();       // the locale's English country name

}  // namespace platform
