#pragma once
// The Windows directories of a machine description ("C:\WINDOWS"): checked and
// brought into one spelling before they are stored or used.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct WindowsDir {
  char drive = 'C';                     // upper case
  std::vector<std::string> components;  // empty for the drive's root
};

// "x:/dir/sub\" becomes "X:\dir\sub". Throws MachineError, naming `what`, for a
// text that is not an absolute Windows path of plain names.
std::string NormalizeWindowsDir(std::string_view text, std::string_view what);

// Splits a normalized directory into its drive and components.
WindowsDir SplitWindowsDir(std::string_view normalized);

}  // namespace platform
