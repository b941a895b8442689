#include "install/archive/archive_checksum.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

TEST(ArchiveChecksum, KnownValuesAndTheCrcTable) {
  EXPECT_EQ(ArchiveChecksum("abc"), 0x3E105F31u);
  EXPECT_EQ(ArchiveChecksumBytewise("abc", 3), 0x3E105F31u);
  EXPECT_EQ(ArchiveChecksum(""), 0u);
  // The standard reflected CRC-32 table.
  EXPECT_EQ(ArchiveChecksumTableEntry(0), 0u);
  EXPECT_EQ(ArchiveChecksumTableEntry(1), 0x77073096u);
  EXPECT_EQ(ArchiveChecksumTableEntry(255), 0x2D02EF8Du);
}

// The eight-bytes-at-once form must agree with the definition for every length,
// alignment and starting value, and in pieces as in one run.
TEST(ArchiveChecksum, FastFormAgreesWithTheDefinition) {
  std::mt19937 random(7);
  std::string data(4099, '\0');
  for (char& c : data) c = static_cast<char>(random());
  for (std::size_t start = 0; start < 9; ++start) {
    for (std::size_t length : {0u, 1u, 7u, 8u, 9u, 15u, 16u, 17u, 63u, 4000u}) {
      const uint32_t seed = static_cast<uint32_t>(random());
      ASSERT_EQ(ArchiveChecksum(data.data() + start, length, seed),
                ArchiveChecksumBytewise(data.data() + start, length, seed))
          << "start " << start << " length " << length;
    }
  }
  uint32_t pieces = 0;
  for (std::size_t at = 0; at < data.size(); at += 13) {
    pieces = ArchiveChecksum(data.data() + at, std::min<std::size_t>(13, data.size() - at), pieces);
  }
  EXPECT_EQ(pieces, ArchiveChecksumBytewise(data.data(), data.size()));
}

}  // namespace
