#pragma once
// DOS attributes of host files: read-only is the absence of every write bit;
// hidden, system and archive live in the user.DOSATTRIB extended attribute as
// the text "0x%x", where the file system keeps extended attributes.

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

inline constexpr uint32_t kStoredDosBits = 0x02 | 0x04 | 0x20;  // hidden, system, archive

// The leading "0x" hex text of a stored value (the binary forms other tools
// write start with it too), or nullopt when it has none.
std::optional<uint32_t> ParseDosAttribText(std::string_view value);

bool IsReadOnlyMode(mode_t mode);

// The attributes of a host file whose status is st: directory, read-only and
// the stored bits.
uint32_t DosAttributesOf(const std::filesystem::path& host, const struct stat& st);

// Sets the attributes of a host file; false with errno set when it fails.
bool SetDosAttributes(const std::filesystem::path& host, uint32_t attributes);

// The process's file mode creation mask, read without changing it.
mode_t CurrentUmask();

}  // namespace platform
