#pragma once
// The macro table of a run: one "@<id>@" per destination of the table and
// "@LaunchDrive@" for the directory the setup was started from (the removal
// run is given the install directory with /D).

#include <string_view>

#include "options/macro_table.h"

class CDestinationTable;

MacroTable BuildDestinationMacros(const CDestinationTable& destinations, std::string_view sourceDirectory);
