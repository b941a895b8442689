#pragma once
// The registry entry list: one entry per "Registry" section of the setup
// profile, in profile order. An install selects the entries of its setup type,
// substitutes the macros in their data and writes them, logging every key it
// creates; a removal deletes the logged keys newest first and the keys the
// profile marks for removal. Nothing here reports a registry failure: a failed
// step is skipped.

#include <memory>
#include <string_view>
#include <vector>

#include "options/macro_table.h"
#include "options/user_messages.h"
#include "profile/profile_tree.h"
#include "system/registry_entry.h"

class CRegistryEntryList {
 public:
  // Reads the keys "key", "name", "data" and "option" of one section (names
  // ignoring case, first value of each, other keys ignored) into a new entry
  // at the end of the list. Entries start disabled.
  void AddRegistryEntry(const ProfileSection& section);

  // Enables every entry whose option is the selector or "0"; the others keep
  // their flag.
  void SelectRegistryEntries(std::string_view selector);

  // Replaces the macros in every entry's data.
  void SubstituteRegistryData(const MacroTable& macros, UserMessages& messages);

  // Writes every enabled entry in list order, creating missing keys and
  // logging each new one in logFile's "Registry" section. Raises
  // CXFileException naming the first entry the registry could not store.
  void ApplyRegistryEntries(std::string_view logFile);

  // Deletes the last key of every entry whose option is "-1".
  void DeleteMarkedKeys();

  // Deletes the keys that logFile's "Registry" section lists, last to first,
  // so that children go before their parents.
  void UndoLoggedKeys(std::string_view logFile);

  const std::vector<std::unique_ptr<CRegistryEntry>>& Entries() const { return entries_; }

 private:
  std::vector<std::unique_ptr<CRegistryEntry>> entries_;
};
