#include "install/tables/group_table.h"

#include <utility>

#include "install/tables/table_key.h"
#include "install/tables/table_lines.h"

const char* TemplateGroupName(bool international) {
  return international ? group_name::kInternationalTemplates : group_name::kUsTemplates;
}

void CGroupTable::Load(std::string_view file) {
  for (const TableLine& line : ReadTableLines(install_log::kGroupsSection, file)) {
    auto group = std::make_unique<CGroup>();
    group->name = line.key;
    group->title = FieldText(line.value, 0);
    group->description = FieldText(line.value, 1);
    group->minimumFlag = FieldNumber(line.value, 2);
    group->typicalFlag = FieldNumber(line.value, 3);
    group->customFlag = FieldNumber(line.value, 4);
    Add(std::move(group));
  }
}

CGroup& CGroupTable::Add(std::unique_ptr<CGroup> group) {
  for (auto& held : groups_) {
    if (SameTableKey(held->name, group->name)) {
      // In place: sources refer to their group by address.
      *held = std::move(*group);
      return *held;
    }
  }
  groups_.push_back(std::move(group));
  return *groups_.back();
}

CGroup* CGroupTable::Find(std::string_view name) {
  for (const auto& group : groups_) {
    if (SameTableKey(group->name, name)) return group.get();
  }
  return nullptr;
}

const CGroup* CGroupTable::Find(std::string_view name) const {
  return const_cast<CGroupTable*>(this)->Find(name);
}

bool CGroupTable::IsInstalled(std::string_view name) const {
  const CGroup* group = Find(name);
  return group != nullptr && group->IsInstalled();
}

void CGroupTable::SelectSetupType(SetupType type) {
  if (type == SetupType::Custom) return;
  for (const auto& group : groups_) {
    const int flag = type == SetupType::Minimum ? group->minimumFlag : group->typicalFlag;
    group->install = flag != 0 ? 1 : 0;
  }
}

std::vector<GroupRecord> CGroupTable::Records() const {
  std::vector<GroupRecord> records;
  records.reserve(groups_.size());
  for (const auto& group : groups_) {
    records.push_back(
        {group->name, group->title, group->description, group->minimumFlag, group->typicalFlag, group->customFlag});
  }
  return records;
}

bool CGroupTable::SaveGroups(std::string_view file) const { return WriteGroupLines(Records(), file); }
