// Directory searches: the whole directory is read at FindFirst and sorted, so
// the order is stable and entries created during the search do not disturb it.

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/fs/dos_attributes.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/file_times.h"
#include "platform/fs/find.h"
#include "platform/fs/windows_path.h"
#include "platform/machine/host_paths.h"
#include "platform/machine/machine.h"

namespace platform {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

bool IsDotEntry(std::string_view name) { return name == "." || name == ".."; }

// "." and ".." first, then by name ignoring case, ties in byte order.
bool FindOrder(const FindData& a, const FindData& b) {
  if (IsDotEntry(a.name) != IsDotEntry(b.name)) return IsDotEntry(a.name);
  const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  const auto lessFolded = [&](char x, char y) { return fold(x) < fold(y); };
  if (std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(), lessFolded)) return true;
  if (std::lexicographical_compare(b.name.begin(), b.name.end(), a.name.begin(), a.name.end(), lessFolded)) return false;
  return a.name < b.name;
}

bool IsDriveRoot(const std::filesystem::path& dir) {
  const Machine& machine = CurrentMachine();
  for (const DriveMapping& drive : machine.Config().drives) {
    if (machine.DriveHostPath(drive) == dir) return true;
  }
  return false;
}

}  // namespace

bool FileFinder::FindFirst(std::string_view pattern, uint32_t mask) {
  Close();
  FullPath full;
  if (!ExpandWindowsPath(pattern, full)) return false;
  // "C:\" alone names no entry, and "C:\DIR\" asks for none.
  if (full.components.empty() || full.trailingSeparator) {
    errno = ENOENT;
    return false;
  }
  const std::string wildcard = full.components.back();
  full.components.pop_back();
  std::filesystem::path dir;
  if (!IsValidComponent(wildcard, true)) {
    errno = EINVAL;
    return false;
  }
  if (!HostPathOf(full, dir)) return false;
  const std::unique_ptr<DIR, DirCloser> stream(opendir(dir.c_str()));
  if (!stream) return false;
  const bool root = IsDriveRoot(LexicalHostPath(dir));

  std::vector<FindData> entries;
  while (const dirent* entry = readdir(stream.get())) {
    const std::string_view name = entry->d_name;
    if (root && IsDotEntry(name)) continue;
    if (!MatchesDosWildcard(wildcard, name)) continue;
    const std::filesystem::path host = dir / std::string(name);
    struct stat st;
    // A dangling symlink is still an entry; it reports the link itself.
    if (stat(host.c_str(), &st) != 0 && lstat(host.c_str(), &st) != 0) continue;
    FindData data;
    data.name = std::string(name);
    data.attributes = IsDotEntry(name) ? kAttrDirectory : DosAttributesOf(host, st);
    data.size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
    data.lastWriteTime = st.st_mtim.tv_sec;
    data.creationTime = CreationTimeOf(host, st);
    if (mask != 0 && (data.attributes & mask) == 0) continue;
    entries.push_back(std::move(data));
  }
  if (entries.empty()) {
    errno = ENOENT;
    return false;
  }
  std::sort(entries.begin(), entries.end(), FindOrder);
  entries_ = std::move(entries);
  index_ = 0;
  return true;
}

bool FileFinder::FindNext() {
  // At the end the last entry stays current, so Current() stays valid.
  if (index_ + 1 >= entries_.size()) {
    errno = ENOENT;
    return false;
  }
  ++index_;
  return true;
}

void FileFinder::Close() {
  entries_.clear();
  index_ = 0;
}

}  // namespace platform
