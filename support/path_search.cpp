// CPath: directory searches. The object owns its search and closes it when it is
// destroyed or starts another one.

#include "platform/fs/file_ops.h"
#include "platform/fs/find.h"
#include "support/path.h"

bool CPath::FindFirst(uint32_t mask) {
  CloseSearch();
  attributeMask_ = mask;
  searchDirectory_ = DriveAndDirectoryPrefix();
  search_ = std::make_unique<platform::FileFinder>();
  if (!search_->FindFirst(path_, mask)) {
    CloseSearch();
    return false;
  }
  return NameCurrentEntry();
}

bool CPath::FindNext() {
  if (!search_) return false;
  if (!search_->FindNext()) {
    CloseSearch();
    return false;
  }
  return NameCurrentEntry();
}

void CPath::CloseSearch() {
  if (search_) search_->Close();
  search_.reset();
}

// The entry found becomes the path's name; a directory entry found by a search
// for directories becomes the path's last directory instead. A file that a mask
// with the directory bit and others finds stays a file: a trailing separator
// would name a directory that is not there. Built from the directory the
// search runs in, since an earlier directory hit changed the path's.
bool CPath::NameCurrentEntry() {
  const platform::FindData& entry = search_->Current();
  CPath found(searchDirectory_);
  const bool asDirectory =
      (attributeMask_ & platform::kAttrDirectory) && (entry.attributes & platform::kAttrDirectory);
  if (asDirectory) {
    // Named where the search ran: a search of "C:*.*" finds "C:SUB\" in drive
    // C's current directory, not in its root.
    found.SetPath(searchDirectory_ + entry.name + '\\');
  } else {
    found.SetNameExt(entry.name);
  }
  path_ = std::move(found.path_);
  return true;
}

// "C:\A\", "C:", "\" or "": what a name is appended to in this path's directory.
std::string CPath::DriveAndDirectoryPrefix() const {
  PathParts parts = Split();
  parts.name.clear();
  parts.extension.clear();
  return MakePath(parts);
}

bool CPath::HasSubdirectory() const {
  CPath pattern(DriveAndDirectoryPrefix());
  pattern.SetNameExt("*.*");
  return pattern.FindFirst(platform::kAttrDirectory);
}
