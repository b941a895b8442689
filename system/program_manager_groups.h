#pragma once
// The group names Program Manager holds, for the program folder list on
// Windows NT 3.x.

#include <string>
#include <vector>

// The names of Program Manager's groups, in the order it gives them; empty
// when there is no Program Manager to ask.
std::vector<std::string> ProgramManagerGroups();
