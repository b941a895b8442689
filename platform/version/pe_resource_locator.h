#pragma once
// Finds the version resource in a PE32 or PE32+ file: the headers, the section
// table and the three levels of the resource directory tree (type, name,
// language), read field by field through bounded reads.

#include <cstdint>
#include <optional>

#include "platform/version/host_file_reader.h"

namespace platform {

// Where a resource's data lies in the file.
struct FileSpan {
  uint64_t offset = 0;
  uint32_t size = 0;
};

inline constexpr uint32_t kResourceTypeVersion = 16;  // RT_VERSION

// The data of the first resource of a type: the type looked up by id, then the
// first name or id entry under it, then the first language under that. Nullopt
// when the file is not a PE image, has no such resource, or any header, entry or
// range on the way is damaged: outside the file, outside the section that holds
// it, or not of the kind the level requires. The walk is exactly three levels
// deep, so a directory entry that points back up the tree cannot loop.
std::optional<FileSpan> FindFirstResource(HostFileReader& file, uint32_t typeId);

}  // namespace platform
