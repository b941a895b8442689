#include "install/archive_checksum.h"

#include <array>

namespace {

constexpr uint32_t kReflectedPolynomial = 0xEDB88320u;

// The update is linear over GF(2): c' = M(c) ^ T[b] with
// M(c) = T[c & 0xFF] ^ ((c >> 6) & 0x00FFFFFF), because the CRC table is linear
// (T[x ^ y] = T[x] ^ T[y]). Eight bytes at once are then
//   M^8(c) ^ M^7(T[b0]) ^ M^6(T[b1]) ^ ... ^ T[b7],
// with M^8(c) split over the four bytes of c. Twelve independent lookups per
// eight bytes instead of a chain of eight dependent ones: the checksum runs on
// every byte an installation reads and writes.
struct ChecksumTables {
  std::array<uint32_t, 256> crc{};
  std::array<std::array<uint32_t, 256>, 8> input{};  // input[i][x] = M^(7-i)(T[x])
  std::array<std::array<uint32_t, 256>, 4> state{};  // state[j][x] = M^8(x << 8j)

  static uint32_t Step(const std::array<uint32_t, 256>& crc, uint32_t c) {
    return crc[c & 0xFF] ^ ((c >> 6) & 0x00FFFFFFu);
  }

  ChecksumTables() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int round = 0; round < 8; ++round) c = (c & 1) ? (c >> 1) ^ kReflectedPolynomial : c >> 1;
      crc[i] = c;
    }
    for (uint32_t x = 0; x < 256; ++x) {
      uint32_t value = crc[x];
      for (int i = 7; i >= 0; --i) {
        input[static_cast<std::size_t>(i)][x] = value;
        value = Step(crc, value);
      }
      for (std::size_t j = 0; j < 4; ++j) {
        uint32_t c = x << (8 * j);
        for (int round = 0; round < 8; ++round) c = Step(crc, c);
        state[j][x] = c;
      }
    }
  }
};

// Built once, on first use.
const ChecksumTables& Tables() {
  static const ChecksumTables tables;
  return tables;
}

}  // namespace

uint32_t ArchiveChecksumTableEntry(uint8_t index) { return Tables().crc[index]; }

uint32_t ArchiveChecksumBytewise(const void* data, std::size_t size, uint32_t checksum) {
  const auto& crc = Tables().crc;
  const auto* bytes = static_cast<const unsigned char*>(data);
  for (std::size_t i = 0; i < size; ++i) {
    checksum = crc[(checksum ^ bytes[i]) & 0xFF] ^ ((checksum >> 6) & 0x00FFFFFFu);
  }
  return checksum;
}

uint32_t ArchiveChecksum(const void* data, std::size_t size, uint32_t checksum) {
  const ChecksumTables& t = Tables();
  const auto* p = static_cast<const unsigned char*>(data);
  while (size >= 8) {
    checksum = t.state[0][checksum & 0xFF] ^ t.state[1][(checksum >> 8) & 0xFF] ^
               t.state[2][(checksum >> 16) & 0xFF] ^ t.state[3][checksum >> 24] ^ t.input[0][p[0]] ^
               t.input[1][p[1]] ^ t.input[2][p[2]] ^ t.input[3][p[3]] ^ t.input[4][p[4]] ^ t.input[5][p[5]] ^
               t.input[6][p[6]] ^ t.input[7][p[7]];
    p += 8;
    size -= 8;
  }
  for (; size > 0; --size, ++p) checksum = t.crc[(checksum ^ *p) & 0xFF] ^ ((checksum >> 6) & 0x00FFFFFFu);
  return checksum;
}
