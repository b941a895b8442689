#pragma once
// Keys of the install tables (group names, target keys) are INI keys, which the
// private-profile functions compare ignoring letter case; the tables compare
// them the same way, so that "MAIN" in a tables file is the group "Main".

#include <string>
#include <string_view>

// Lower-cases ASCII letters only, whatever the process's locale.
std::string TableKeyFolded(std::string_view key);
bool SameTableKey(std::string_view a, std::string_view b);
