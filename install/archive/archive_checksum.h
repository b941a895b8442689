#pragma once
// The archive checksum: a CRC-32 table (reflected polynomial, no pre- or
// post-conditioning) driven with a shift of 6 instead of 8, initial value 0, no
// final inversion. It is not the standard CRC-32; archives record this one.
//   for each byte b: c = table[(c ^ b) & 0xFF] ^ ((c >> 6) & 0x00FFFFFF)
// "abc" gives 0x3E105F31.

#include <cstddef>
#include <cstdint>
#include <string_view>

// The checksum after running size bytes through it, starting from checksum.
uint32_t ArchiveChecksum(const void* data, std::size_t size, uint32_t checksum = 0);

inline uint32_t ArchiveChecksum(std::string_view bytes, uint32_t checksum = 0) {
  return ArchiveChecksum(bytes.data(), bytes.size(), checksum);
}

// One byte at a time, exactly as the definition reads. ArchiveChecksum gives the
// same values faster; this stays as the reference it is tested against.
uint32_t ArchiveChecksumBytewise(const void* data, std::size_t size, uint32_t checksum = 0);

// Entry i of the CRC-32 table the checksum uses.
uint32_t ArchiveChecksumTableEntry(uint8_t index);
