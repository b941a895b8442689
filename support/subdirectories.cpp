#include "support/subdirectories.h"

#include "platform/fs/file_ops.h"
#include "platform/fs/find.h"

std::vector<std::string> SubdirectoryNames(const std::string& directory) {
  std::vector<std::string> names;
  if (directory.empty()) return names;
  std::string pattern = directory;
  if (pattern.back() != '\\') pattern += '\\';
  pattern += "*.*";
  platform::FileFinder finder;
  for (bool found = finder.FindFirst(pattern, platform::kAttrDirectory); found; found = finder.FindNext()) {
    const platform::FindData& entry = finder.Current();
    if ((entry.attributes & platform::kAttrDirectory) == 0 || entry.name == "." || entry.name == "..") continue;
    names.push_back(entry.name);
  }
  finder.Close();
  return names;
}
