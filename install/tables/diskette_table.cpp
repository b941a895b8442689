#include "install/tables/diskette_table.h"

#include <utility>

#include "install/errors/printf_format.h"
#include "install/errors/string_table.h"
#include "install/log/ini_fields.h"
#include "install/tables/table_lines.h"
#include "platform/core/crt_number.h"

namespace {

constexpr const char* kDisketteSection = "diskettes";

bool IsDiskNumber(int disk) { return disk >= CDisketteTable::kFirstDisk && disk <= CDisketteTable::kLastDisk; }

}  // namespace

CDisketteTable::CDisketteTable() {
  const char* format = LoadStringText(kDefaultLabelString);
  for (int disk = kFirstDisk + 1; disk <= kLastDisk; ++disk) {
    const FormatArg args[] = {disk};
    labels_[disk] = FormatPrintf(format, args);
  }
}

void CDisketteTable::Load(std::string_view file) {
  for (const TableLine& line : ReadTableLines(kDisketteSection, file)) {
    SetLabel(platform::ReadDecimalLong(line.key), line.value);
  }
}

std::optional<std::string> CDisketteTable::Label(int disk) const {
  if (!IsDiskNumber(disk)) return std::nullopt;
  return labels_[disk];
}

bool CDisketteTable::SetLabel(int disk, std::string label) {
  if (!IsDiskNumber(disk)) return false;
  labels_[disk] = std::move(label);
  return true;
}
