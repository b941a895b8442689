#include "install/archive/archive_checksum.h"

#include <array>
#include <bit>
#include <cstring>

namespace {

constexpr uint32_t kReflectedPolynomial = 0xEDB88320u;

// The update is linear over GF(2): c' = M(c) ^ T[b] with
// M(c) = T[c & 0xFF] ^ ((c >> 6) & 0x00FFFFFF), because the CRC table is linear
// (T[x ^ y] = T[x] ^ T[y]). Sixteen bytes at once are then
//   M^16(c) ^ M^15(T[b0]) ^ M^14(T[b1]) ^ ... ^ T[b15],
// with M^16(c) split over the four bytes of c. Twenty independent lookups per
// sixteen bytes instead of a chain of sixteen dependent ones: the checksum runs
// on every byte an installation reads and writes.
struct ChecksumTables {
  std::array<uint32_t, 256> crc{};
  static constexpr int kStride = 16;
  std::array<std::array<uint32_t, 256>, kStride> input{};  // input[i][x] = M^(15-i)(T[x])
  std::array<std::array<uint32_t, 256>, 4> state{};        // state[j][x] = M^16(x << 8j)

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
      for (int i = kStride - 1; i >= 0; --i) {
        input[static_cast<std::size_t>(i)][x] = value;
        value = Step(crc, value);
      }
      for (std::size_t j = 0; j < 4; ++j) {
        uint32_t c = x << (8 * j);
        for (int round = 0; round < kStride; ++round) c = Step(crc, c);
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
  while (size >= ChecksumTables::kStride) {
    // Two wide loads and shifts: a load per byte would keep the load ports as
    // busy as the table lookups do.
    uint64_t lo;
    uint64_t hi;
    std::memcpy(&lo, p, 8);
    std::memcpy(&hi, p + 8, 8);
    if constexpr (std::endian::native == std::endian::big) {
      lo = __builtin_bswap64(lo);
      hi = __builtin_bswap64(hi);
    }
    const auto& in = t.input;
    checksum = t.state[0][checksum & 0xFF] ^ t.state[1][(checksum >> 8) & 0xFF] ^
               t.state[2][(checksum >> 16) & 0xFF] ^ t.state[3][checksum >> 24] ^ in[0][lo & 0xFF] ^
               in[1][(lo >> 8) & 0xFF] ^ in[2][(lo >> 16) & 0xFF] ^ in[3][(lo >> 24) & 0xFF] ^
               in[4][(lo >> 32) & 0xFF] ^ in[5][(lo >> 40) & 0xFF] ^ in[6][(lo >> 48) & 0xFF] ^ in[7][lo >> 56] ^
               in[8][hi & 0xFF] ^ in[9][(hi >> 8) & 0xFF] ^ in[10][(hi >> 16) & 0xFF] ^ in[11][(hi >> 24) & 0xFF] ^
               in[12][(hi >> 32) & 0xFF] ^ in[13][(hi >> 40) & 0xFF] ^ in[14][(hi >> 48) & 0xFF] ^
               in[15][hi >> 56];
    p += ChecksumTables::kStride;
    size -= ChecksumTables::kStride;
  }
  for (; size > 0; --size, ++p) checksum = t.crc[(checksum ^ *p) & 0xFF] ^ ((checksum >> 6) & 0x00FFFFFFu);
  return checksum;
}
