#include "tools/unsetup/private_directory.h"

#include <errno.h>

#include <cstdio>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/fs/file.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/find.h"
#include "platform/machine/system_info.h"

namespace unsetup {
namespace {

constexpr int kNameTries = 100;

// Empties and removes a directory (Windows path, trailing backslash), its
// subdirectories first; read-only files are made writable, as a removal does.
bool RemoveTree(const std::string& directory) {
  std::vector<platform::FindData> entries;
  platform::FileFinder finder;
  if (finder.FindFirst(directory + "*.*")) {
    do {
      const platform::FindData& entry = finder.Current();
      if (entry.name != "." && entry.name != "..") entries.push_back(entry);
    } while (finder.FindNext());
  }
  finder.Close();
  for (const platform::FindData& entry : entries) {
    const std::string path = directory + entry.name;
    if (entry.attributes & platform::kAttrDirectory) {
      RemoveTree(path + "\\");
    } else {
      if (entry.attributes & platform::kAttrReadOnly) platform::SetFileAttributes(path, 0);
      platform::DeleteFile(path);
    }
  }
  return platform::RemoveDirectory(directory.substr(0, directory.size() - 1));
}

}  // namespace

PrivateDirectory::PrivateDirectory(int id) {
  const std::string base = platform::GetTempPath() + "QMU" + std::to_string(id);
  for (int attempt = 0; attempt < kNameTries; ++attempt) {
    const std::string name = attempt == 0 ? base : base + "_" + std::to_string(attempt);
    if (platform::CreateDirectory(name)) {
      path_ = name + "\\";
      return;
    }
    if (errno != EEXIST) throw platform::FileException::FromErrno(errno, name);
  }
  throw platform::FileException::FromErrno(EEXIST, base);
}

PrivateDirectory::~PrivateDirectory() {
  if (!removed_ && !Remove()) std::fprintf(stderr, "unsetup: cannot remove %s\n", path_.c_str());
}

void PrivateDirectory::CopyIn(const std::string& from, const std::string& name) const {
  platform::File source;
  source.Open(from, platform::open_mode::kRead);
  platform::File copy;
  copy.Open(path_ + name, platform::open_mode::kWrite | platform::open_mode::kCreate);
  std::vector<char> buffer(64 * 1024);
  while (const std::size_t got = source.Read(buffer.data(), buffer.size())) copy.Write(buffer.data(), got);
  copy.Close();
}

bool PrivateDirectory::Remove() {
  removed_ = true;
  return RemoveTree(path_) || !platform::FileExists(path_.substr(0, path_.size() - 1));
}

}  // namespace unsetup
