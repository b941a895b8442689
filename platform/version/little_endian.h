#pragma once
// Little-endian fields of the PE and version-resource formats, read byte by
// byte so that neither the host's byte order nor alignment matters.

#include <cstddef>
#include <cstdint>

namespace platform::le {

inline uint16_t U16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace platform::le
