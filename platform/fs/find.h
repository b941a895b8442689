#pragma once
// Directory search with DOS wildcards, in the shape of find-first/find-next.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct FindData {
  std::string name;  // the entry's name as stored on the host
  uint32_t attributes = 0;
  uint64_t size = 0;
  int64_t lastWriteTime = 0;
  int64_t creationTime = 0;
};

// True when name matches a DOS wildcard pattern, ignoring letter case: "*" any
// run of characters, "?" one character (or none at the end of the name or before
// its extension), "*.*" every name, a pattern ending in ".*" also names without
// an extension.
bool MatchesDosWildcard(std::string_view pattern, std::string_view name);

class FileFinder {
 public:
  // Starts a search for a Windows path whose last component may hold wildcards.
  // With a nonzero mask only entries whose attributes share a bit with it are
  // found. "." and ".." are found in every directory but a drive's root.
  bool FindFirst(std::string_view pattern, uint32_t mask = 0);
  // False at the end; the last entry then stays current.
  bool FindNext();
  const FindData& Current() const { return entries_[index_]; }
  void Close();

 private:
  std::vector<FindData> entries_;
  std::size_t index_ = 0;
};

}  // namespace platform
