#pragma once
// Every file and directory under a host directory (an emulated drive) with its
// bytes, directories as "/": what tests compare before and after a run.

#include <filesystem>
#include <map>
#include <string>

#include "tests/common/temp_dir.h"

namespace qmtest {

inline std::map<std::string, std::string> DriveContents(const std::filesystem::path& drive) {
  std::map<std::string, std::string> contents;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(drive)) {
    const std::string name = std::filesystem::relative(entry.path(), drive).string();
    contents[name] = entry.is_directory() ? "/" : ReadFileText(entry.path());
  }
  return contents;
}

}  // namespace qmtest
