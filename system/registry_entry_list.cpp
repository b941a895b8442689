#include "system/registry_entry_list.h"

#include <string>

#include "install/errors/xexception.h"
#include "install/log/ini_item.h"
#include "install/log/ini_section_reader.h"
#include "install/log/install_log.h"
#include "options/macro_substitution.h"

namespace {

// What every caller passes: an empty class, non-volatile keys, all access and
// no security.
void InitWithDefaults(CRegistryEntry& entry, std::string keyPath, std::string valueName, std::string data,
                      std::string option) {
  entry.InitEntry(std::move(keyPath), std::move(valueName), std::move(data), std::move(option), "",
                  platform::REG_OPTION_NON_VOLATILE, platform::KEY_ALL_ACCESS, nullptr);
}

}  // namespace

void CRegistryEntryList::AddRegistryEntry(const ProfileSection& section) {
  std::string keyPath;
  std::string valueName;
  std::string data;
  std::string option = CRegistryEntry::kNeverSelected;
  for (const ProfileKey& key : section.Keys()) {
    if (ProfileNamesEqual(key.Name(), "key")) {
      keyPath = key.FirstValue();
    } else if (ProfileNamesEqual(key.Name(), "name")) {
      valueName = key.FirstValue();
    } else if (ProfileNamesEqual(key.Name(), "data")) {
      data = key.FirstValue();
    } else if (ProfileNamesEqual(key.Name(), "option")) {
      option = key.FirstValue();
    }
  }
  auto entry = std::make_unique<CRegistryEntry>();
  InitWithDefaults(*entry, std::move(keyPath), std::move(valueName), std::move(data), std::move(option));
  entries_.push_back(std::move(entry));
}

void CRegistryEntryList::SelectRegistryEntries(std::string_view selector) {
  for (const auto& entry : entries_) {
    if (entry->Option() == selector || entry->Option() == CRegistryEntry::kEveryInstall) entry->Enable();
  }
}

void CRegistryEntryList::SubstituteRegistryData(const MacroTable& macros, UserMessages& messages) {
  for (const auto& entry : entries_) entry->SetData(Substitute(entry->Data(), macros, messages));
}

void CRegistryEntryList::ApplyRegistryEntries(std::string_view logFile) {
  std::string refused;
  for (const auto& entry : entries_) {
    if (!entry->Enabled()) continue;
    const bool stored = entry->CreateKeyPath(true, logFile) != platform::ERROR_CANTWRITE &&
                        entry->WriteValue() != platform::ERROR_CANTWRITE;
    if (!stored && refused.empty()) refused = entry->KeyPath();
  }
  // The entries the registry takes are all written; then the first it refused is reported.
  if (!refused.empty()) throw CXFileException(platform::FileCause::Generic, refused);
}

void CRegistryEntryList::DeleteMarkedKeys() {
  for (const auto& entry : entries_) {
    if (entry->Option() == CRegistryEntry::kDeleteAtRemoval) entry->DeleteKeyPath();
  }
}

void CRegistryEntryList::UndoLoggedKeys(std::string_view logFile) {
  std::vector<std::string> logged;
  CIniSectionReader reader(install_log::kRegistrySection, std::string(logFile));
  CIniItem item;
  for (bool more = reader.First(item); more; more = reader.Next(item)) logged.push_back(item.Key());

  for (auto name = logged.rbegin(); name != logged.rend(); ++name) {
    CRegistryEntry entry;
    InitWithDefaults(entry, *name, "", "", CRegistryEntry::kNeverSelected);
    // When the logged key itself cannot be reached, the parent and current
    // keys belong to some other path; deleting there would hit a key that
    // was never ours.
    if (entry.CreateKeyPath(false) != platform::ERROR_SUCCESS) continue;
    entry.CloseAndDeleteLast();
  }
}
