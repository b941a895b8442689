#include "system/target_table.h"

#include <utility>

#include "install/log/install_log.h"
#include "install/tables/table_key.h"
#include "install/tables/table_lines.h"
#include "platform/profile/private_profile.h"

void CTargetTable::LoadTargets(std::string_view file) {
  for (const TableLine& line : ReadTableLines(install_log::kTargetsSection, file)) {
    Add(CTarget::FromLine(line.key, line.value));
  }
}

bool CTargetTable::SaveTargets(std::string_view file) const {
  bool allWritten = true;
  for (const auto& target : targets_) {
    allWritten &= platform::WritePrivateProfileString(install_log::kTargetsSection, target->key.c_str(),
                                                      target->FormatLine().c_str(), file);
  }
  return allWritten;
}

CTarget& CTargetTable::Add(CTarget target) {
  if (CTarget* held = Find(target.key)) {
    *held = std::move(target);
    return *held;
  }
  targets_.push_back(std::make_unique<CTarget>(std::move(target)));
  return *targets_.back();
}

CTarget* CTargetTable::Find(std::string_view key) {
  for (const auto& target : targets_) {
    if (SameTableKey(target->key, key)) return target.get();
  }
  return nullptr;
}

const CTarget* CTargetTable::Find(std::string_view key) const { return const_cast<CTargetTable*>(this)->Find(key); }
