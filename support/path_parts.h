#pragma once
// Splitting a Windows path into drive, directory, name and extension and putting
// it back together. Pure text work: nothing here touches the file system.

#include <string>
#include <string_view>

struct PathParts {
  std::string drive;      // the letter alone, without ":"
  std::string directory;  // no trailing "\" unless it is the root "\"
  std::string name;       // without the extension
  std::string extension;  // without the leading "."
};

// Both "\" and "/" separate components, as the Windows runtime accepts both.
bool IsPathSeparator(char c);

PathParts SplitPath(std::string_view path);

// The inverse of SplitPath: ":" after a drive, "\" after a directory that does not
// end in one, "." before a non-empty extension.
std::string MakePath(const PathParts& parts);
