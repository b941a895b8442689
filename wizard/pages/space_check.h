#pragma once
// Whether a chosen set of groups fits on the disk, and the drives a
// destination must not be on. Free and total bytes come from the emulated
// machine's drives.

#include <cstdint>
#include <string_view>

#include "install/tables/space_totals.h"

class CDestinationTable;

// The space check of a setup type: when the install directory (entry 0) and
// the Windows directory (entry -2) lie on one drive, its free space must hold
// the whole install; otherwise each drive must hold its own part.
bool FitsOnDisk(const CDestinationTable& destinations, const SpaceParts& needed);

// A 1.44 MB diskette or smaller, or a removable drive without a medium (its
// capacity reads 0): nothing is installed there.
bool IsDisketteDrive(std::string_view path);

// The free bytes of the path's drive (the current drive when it names none).
std::int64_t DriveFreeBytes(std::string_view path);
