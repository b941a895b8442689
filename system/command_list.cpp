#include "system/command_list.h"

void CCommandList::AddSection(const ProfileSection& section) { sections_.push_back(section); }
