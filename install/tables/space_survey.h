#pragma once
// What the sources add to the disk once installed, summed into the space
// totals of the setup types and the spaces of the groups.
//
// A plain file counts with the size the tables file gives it, under its own
// destination id. An archive is opened in the source directory and every entry
// counts with its uncompressed size under the entry's destination id; only the
// headers are read. An archive that is not in the source directory yet (it is
// on a later diskette) counts like a plain file, with its size from the tables
// file under the source's destination id, rather than stopping the setup
// before it has begun. A source of another kind installs nothing and counts
// nothing.

#include <cstdint>
#include <functional>
#include <string_view>

#include "install/tables/group_table.h"
#include "install/tables/space_totals.h"

class CDestinationTable;
class CSourceFile;
class CSourceFileList;

// Calls part(bytes, destination id) for each piece the source installs.
// Raises what the archive reader raises for a damaged archive.
void SurveySource(const CSourceFile& source, std::string_view sourceDirectory,
                  const std::function<void(std::int64_t bytes, int destinationId)>& part);

// Adds what one source installs to the totals of one setup type.
void AddSourceSpace(SpaceTotals& totals, SetupType type, const CSourceFile& source,
                    const CDestinationTable& destinations, std::string_view sourceDirectory);

// The totals of all three setup types after loading: every source counts for
// each type whose flag its group carries. Then the Custom flag of "Main" and
// "premade" is cleared (they are installed with "program", not offered), and
// the space of the country's template group is added to the whole install of
// every type.
void ComputeSetupTypeTotals(SpaceTotals& totals, CGroupTable& groups, const CSourceFileList& sources,
                            const CDestinationTable& destinations, std::string_view sourceDirectory,
                            bool international);

// The Custom totals anew from the groups to be installed (install field 1).
void ComputeCustomTotals(SpaceTotals& totals, const CSourceFileList& sources, const CDestinationTable& destinations,
                         std::string_view sourceDirectory);

// The sum of the tables-file sizes of the group's sources, worked out on first
// use and kept in the group. A missing group has no space.
std::int32_t GroupSpace(CGroup* group, const CSourceFileList& sources);
