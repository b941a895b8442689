#pragma once
// Whether a newly extracted file replaces one already installed.
#include <optional>
#include <string>
#include <string_view>

class CDestinationTable;

// The installed copy a new file is compared with. Files for the Windows (-2)
// and System (-3) directories may already sit in either of the two, so the
// first of Windows + name, System + name that exists is taken; for any other
// id only destinationPath counts. nullopt when there is none.
std::optional<std::string> FindExistingFile(int destinationId, std::string_view destinationPath,
                                            const CDestinationTable& destinations);

// True when newFile is to replace existingFile. Versions decide when either
// file has one: a versioned file beats an unversioned one, and between two
// versioned files only a greater version replaces. Without versions on either
// side only an older last-write time of the existing file gives way.
bool ShouldReplace(std::string_view newFile, std::string_view existingFile);
