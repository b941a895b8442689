#include "system/destination_macros.h"

#include <vector>

#include "install/tables/destination_table.h"

MacroTable BuildDestinationMacros(const CDestinationTable& destinations, std::string_view sourceDirectory) {
  std::vector<MacroDestination> entries;
  for (const auto& [id, destination] : destinations.Entries()) entries.push_back({id, destination.path});
  MacroTable macros;
  BuildMacroTable(macros, entries, sourceDirectory);
  return macros;
}
