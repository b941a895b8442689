#include "install/tables/source_file.h"

#include <limits>
#include <utility>

#include "install/tables/table_lines.h"

std::unique_ptr<CSourceFile> CSourceFile::FromTableLine(std::string_view fileName, std::string_view value,
                                                        CGroup* group) {
  auto source = std::make_unique<CSourceFile>();
  source->SetFileName(std::string(fileName));
  source->SetSize(FieldNumber(value, 0));
  source->SetKind(FieldNumber(value, 1));
  source->SetFileCount(FieldNumber(value, 2));
  source->SetDisk(FieldNumber(value, 3));
  source->SetDestinationId(FieldNumber(value, 4));
  source->SetText(FieldText(value, 5));
  source->SetGroup(group);
  return source;
}

void CSourceFile::SetDisk(std::int32_t disk) {
  late_ = disk < 0;
  // The smallest number has no positive counterpart; it names no diskette anyway.
  diskNumber_ = disk == std::numeric_limits<std::int32_t>::min() ? std::numeric_limits<std::int32_t>::max()
                                                                  : (disk < 0 ? -disk : disk);
}
