#include "system/registry_entry_list.h"

void CRegistryEntryList::AddSection(const ProfileSection& section) { sections_.push_back(section); }
