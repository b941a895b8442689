#pragma once
// Loading every table of an install tables file: the install run's splash page
// reads the install tables file, the removal run's reading page the install
// log, which has the same sections.

#include <functional>
#include <string_view>

class CDestinationTable;
class CGroupTable;
class CTargetTable;
class CSourceFileList;
class CDisketteTable;

// The tables the application owns, filled from the file.
struct InstallTables {
  CDestinationTable& destinations;
  CGroupTable& groups;
  CTargetTable& targets;
  CSourceFileList& sources;
  CDisketteTable& diskettes;
};

// Which table has just been loaded, for the callback.
enum class InstallTable { Destinations, Groups, Targets, Sources, Diskettes };

// Loads, in this order, the destinations, the groups, the targets, the
// sources (one section per group) and the diskette labels, and calls
// afterEach after each (the pages handle their window messages there).
// A file without destinations raises CInstallProfileException before any
// other table is read. That holds for the install log of a removal run too; a
// removal whose log is missing altogether does not load it at all (the reading
// page), so that it still runs the profile's removal entries and commands.
void LoadInstallTables(std::string_view file, InstallTables tables,
                       const std::function<void(InstallTable loaded)>& afterEach = {});
