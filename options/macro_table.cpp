#include "options/macro_table.h"

#include "support/path.h"
#include "support/path_parts.h"

std::string DestinationMacroName(int16_t id) { return "@" + std::to_string(id) + "@"; }

std::string LaunchDriveValue(std::string_view sourceDirectory) {
  CPath source;
  source.SetDriveAndDirectory(sourceDirectory);
  // Composed as a directory: drive, colon, directory and a closing "\".
  return MakePath(PathParts{source.GetDrive(), source.GetDirectory(), {}, {}});
}

void BuildMacroTable(MacroTable& table, std::span<const MacroDestination> destinations,
                     std::string_view sourceDirectory) {
  for (const MacroDestination& destination : destinations) {
    if (destination.directory.empty()) continue;
    table.push_back({DestinationMacroName(destination.id), destination.directory});
  }
  table.push_back({"@LaunchDrive@", LaunchDriveValue(sourceDirectory)});
}
