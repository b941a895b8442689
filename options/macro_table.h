#pragma once
// The macros of registry data and command lines: "@<id>@" for each destination
// directory and "@LaunchDrive@" for the directory setup was started from.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct Macro {
  std::string name;   // "@-2@", "@LaunchDrive@"
  std::string value;  // the directory text put in its place
};

// In table order: each pass of the substitution tries the entries in this order.
using MacroTable = std::vector<Macro>;

// One entry of the destination table as the macros need it.
struct MacroDestination {
  int16_t id;
  std::string directory;
};

// Appends one macro per destination with a non-empty directory, in the given
// order, then "@LaunchDrive@". The source directory is taken as a directory
// whether or not it ends in "\"; the macro's value always ends in "\"
// ("D:\SETUP\", "A:\"), so a profile writes "@LaunchDrive@UNSETUP.EXE" the same
// way whether setup runs from a drive's root or from a directory.
void BuildMacroTable(MacroTable& table, std::span<const MacroDestination> destinations,
                     std::string_view sourceDirectory);

// "@" + the id in decimal (a minus sign for a negative id) + "@".
std::string DestinationMacroName(int16_t id);

// The "@LaunchDrive@" value for a source directory (see BuildMacroTable).
std::string LaunchDriveValue(std::string_view sourceDirectory);
