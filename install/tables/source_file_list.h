#pragma once
// The source file list: every source of every group, in the order the copy
// takes them. That is diskette order, so that each diskette is asked for once;
// on one diskette the late sources come after the others, and otherwise the
// order of reading stays.

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "install/tables/source_file.h"

class CGroupTable;

class CSourceFileList {
 public:
  // Reads every group's section of file, group by group in the table's order,
  // and inserts each source (Insert). A group without a section has no sources.
  void Load(std::string_view file, CGroupTable& groups);

  // Inserts before the first source with a greater disk number, or with the
  // same disk number when the new source is not late and that one is;
  // otherwise appends.
  CSourceFile& Insert(std::unique_ptr<CSourceFile> source);
  // Appends regardless of the order (the setup program's own record, which the
  // copy adds last).
  CSourceFile& Append(std::unique_ptr<CSourceFile> source);

  std::size_t Size() const { return sources_.size(); }
  bool Empty() const { return sources_.empty(); }
  const std::vector<std::unique_ptr<CSourceFile>>& Sources() const { return sources_; }

 private:
  std::vector<std::unique_ptr<CSourceFile>> sources_;
};
