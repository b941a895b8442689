#include "install/tables/destination_table.h"

#include <limits>
#include <set>
#include <utility>

#include "install/errors/install_profile_codes.h"
#include "install/errors/install_profile_exception.h"
#include "install/log/ini_fields.h"
#include "install/tables/table_lines.h"
#include "platform/core/crt_number.h"
#include "platform/machine/system_info.h"

namespace {

bool FitsDestinationId(std::int32_t id) {
  return id >= std::numeric_limits<std::int16_t>::min() && id <= std::numeric_limits<std::int16_t>::max();
}

}  // namespace

PresetDirectories MachinePresetDirectories(std::string_view sourceDirectory) {
  return {platform::GetWindowsDirectory(), platform::GetSystemDirectory(), platform::GetTempPath(),
          std::string(sourceDirectory)};
}

std::string JoinDirectory(std::string_view base, std::string_view name) {
  std::string joined(base);
  if (name.empty()) return joined;
  if (!joined.empty() && joined.back() != '\\' && joined.back() != '/') joined += '\\';
  joined += name;
  return joined;
}

void CDestinationTable::SetPresets(const PresetDirectories& presets) {
  SetPath(kWindowsDirectory, presets.windows);
  SetPath(kSystemDirectory, presets.system);
  SetPath(kTemporaryDirectory, presets.temporary);
  SetPath(kSourceDirectory, presets.source);
}

void CDestinationTable::Load(std::string_view file) {
  const std::vector<TableLine> lines = ReadTableLines(install_log::kDestinationsSection, file);
  if (lines.empty()) throw CInstallProfileException(install_profile_code::kNoDestinations);
  for (const TableLine& line : lines) {
    const std::int32_t id = platform::ReadDecimalLong(line.key);
    // Wrapping a larger number to 16 bits could land on a fixed directory.
    if (!IsNumberText(line.key) || !FitsDestinationId(id)) continue;
    Destination destination;
    destination.relativeName = FieldText(line.value, 0);
    const std::string parent = FieldText(line.value, 1);
    const std::int32_t parentId = platform::ReadDecimalLong(parent);
    destination.parentId = IsNumberText(parent) && FitsDestinationId(parentId) ? parentId : Destination::kNoParent;
    destination.path = FieldText(line.value, 2);
    Set(static_cast<std::int16_t>(id), std::move(destination));
  }
}

void CDestinationTable::Set(std::int16_t id, Destination destination) { entries_[id] = std::move(destination); }

void CDestinationTable::SetPath(std::int16_t id, std::string_view path) {
  Destination& destination = entries_[id];
  destination.parentId = Destination::kNoParent;
  destination.path = std::string(path);
}

void CDestinationTable::Resolve() {
  std::set<std::int16_t> built;
  std::size_t waiting = 0;
  for (const auto& [id, destination] : entries_) {
    if (destination.HasParent()) {
      ++waiting;
    } else {
      built.insert(id);
    }
  }
  for (std::size_t pass = 0; pass < entries_.size() && waiting > 0; ++pass) {
    // Only parents built before this pass count, so that a pass is one level of
    // the tree whatever the id order; the entries it builds are marked after it.
    std::vector<std::int16_t> builtThisPass;
    for (auto& [id, destination] : entries_) {
      if (!destination.HasParent() || built.count(id) != 0) continue;
      // A parent outside 16 bits cannot be in the table; it stays unbuilt.
      if (!FitsDestinationId(destination.parentId)) continue;
      const auto parent = entries_.find(static_cast<std::int16_t>(destination.parentId));
      if (parent == entries_.end() || built.count(parent->first) == 0) continue;
      destination.path = JoinDirectory(parent->second.path, destination.relativeName);
      builtThisPass.push_back(id);
    }
    if (builtThisPass.empty()) break;  // nothing left can be built: missing parents or a cycle
    built.insert(builtThisPass.begin(), builtThisPass.end());
    waiting -= builtThisPass.size();
  }
  if (waiting > 0) throw CInstallProfileException(install_profile_code::kUnresolvedDestinations);
}

const Destination* CDestinationTable::Find(int id) const {
  if (!FitsDestinationId(id)) return nullptr;
  const auto it = entries_.find(static_cast<std::int16_t>(id));
  return it == entries_.end() ? nullptr : &it->second;
}

std::string CDestinationTable::PathOf(int id) const {
  const Destination* destination = Find(id);
  return destination != nullptr ? destination->path : std::string();
}

int CDestinationTable::RootOf(int id) const {
  std::set<int> seen{id};
  for (const Destination* destination = Find(id); destination != nullptr && destination->HasParent();
       destination = Find(id)) {
    if (!seen.insert(destination->parentId).second) break;
    id = destination->parentId;
  }
  return id;
}

std::vector<DestinationRecord> CDestinationTable::Records() const {
  std::vector<DestinationRecord> records;
  records.reserve(entries_.size());
  for (const auto& [id, destination] : entries_) {
    records.push_back({id, destination.relativeName, destination.parentId, destination.path});
  }
  return records;
}

bool CDestinationTable::SaveDestinations(std::string_view file) const {
  return WriteDestinationLines(Records(), file);
}
