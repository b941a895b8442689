#include "install/tables/source_file_list.h"

#include <algorithm>
#include <utility>

#include "install/tables/group_table.h"
#include "install/tables/table_lines.h"

void CSourceFileList::Load(std::string_view file, CGroupTable& groups) {
  for (const auto& group : groups.Groups()) {
    for (const TableLine& line : ReadTableLines(group->name, file)) {
      Insert(CSourceFile::FromTableLine(line.key, line.value, group.get()));
    }
  }
}

CSourceFile& CSourceFileList::Insert(std::unique_ptr<CSourceFile> source) {
  const auto comesAfter = [&source](const std::unique_ptr<CSourceFile>& held) {
    return held->DiskNumber() > source->DiskNumber() ||
           (held->DiskNumber() == source->DiskNumber() && !source->IsLate() && held->IsLate());
  };
  const auto place = std::find_if(sources_.begin(), sources_.end(), comesAfter);
  return **sources_.insert(place, std::move(source));
}

CSourceFile& CSourceFileList::Append(std::unique_ptr<CSourceFile> source) {
  sources_.push_back(std::move(source));
  return *sources_.back();
}
