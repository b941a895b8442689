#pragma once
// A Windows path taken apart: full-path expansion against the current
// directory, and the checks a name must pass before it reaches the host.

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct FullPath {
  char drive = 'C';                     // upper case
  std::vector<std::string> components;  // no "." or ".." left, none empty
  bool trailingSeparator = false;       // "C:\A\" keeps its final backslash, as on Windows

  std::string Text() const;
};

// Expands a path that may be relative, rooted on the current drive or
// drive-relative, with "\" or "/" separators. False with errno EINVAL
// (empty or malformed), ENAMETOOLONG (the result is longer than kMaxPath), or
// the error of reading the current directory.
bool ExpandWindowsPath(std::string_view path, FullPath& full);

// A component may become a host name: no control characters, no < > : " | and,
// unless allowed, no wildcards * ?.
bool IsValidComponent(std::string_view component, bool allowWildcards);

// The host path of a full path: the drive's host directory, then each component
// looked up ignoring letter case. False with errno EINVAL or ENODEV.
// seen: as for ResolveIgnoringCase.
bool HostPathOf(const FullPath& full, std::filesystem::path& hostPath, struct stat* seen = nullptr);

}  // namespace platform
