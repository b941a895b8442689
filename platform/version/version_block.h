#pragma once
// The layout of a VS_VERSIONINFO block: its header, the key "VS_VERSION_INFO"
// in UTF-16, padding to a 32-bit boundary, then the fixed file information.

#include <cstddef>
#include <cstdint>

namespace platform {

// True when the block starts with a VS_VERSIONINFO header whose length fits in
// size and whose key is "VS_VERSION_INFO". The fixed file information may still
// be missing; QueryFixedFileInfo answers that.
bool HasVersionInfoHeader(const uint8_t* block, std::size_t size);

}  // namespace platform
