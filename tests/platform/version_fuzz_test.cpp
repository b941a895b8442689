// Deterministic mutations of the PE fixtures. Whatever the damage, reading the
// version resource must answer, never crash or read outside the file or a
// buffer; the sanitizer build turns any stray read into a failure.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/version/version_info.h"
#include "tests/common/temp_dir.h"
#include "tests/platform/version_test_support.h"

namespace platform {
namespace {

using version_test::Bytes;
using version_test::PeLayout;
using version_test::Put16;
using version_test::Put32;
using version_test::ReadFixture;
using version_test::ReadVersionResourceOfBytes;
using qmtest::TempDir;
using version_test::VersionedFixtures;

// A small generator with a fixed seed, so that a failure repeats.
class XorShift {
 public:
  explicit XorShift(uint64_t seed) : state_(seed) {}
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<uint32_t>(state_ >> 16);
  }
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : Next() % n; }

 private:
  uint64_t state_;
};

// Values that tend to break offset and size arithmetic.
uint32_t InterestingValue(XorShift& rng, std::size_t fileSize) {
  const std::array<uint32_t, 12> values = {
      0, 1, 0x7F, 0xFF, 0xFFFF, 0x10000, 0x7FFFFFFF, 0x80000000, 0x80000010, 0xFFFFFFFF,
      static_cast<uint32_t>(fileSize), static_cast<uint32_t>(fileSize - 1)};
  return values[rng.Below(values.size())];
}

// One mutation, aimed mostly at the fields the reader follows.
void Mutate(Bytes& pe, const PeLayout& layout, XorShift& rng) {
  const std::array<std::size_t, 8> hotSpots = {
      0x3C, layout.peHeader, layout.optionalHeader, layout.resourceDirectory,
      layout.resourceSection, layout.resourceRoot, layout.dataEntry, layout.data};
  std::size_t at = rng.Below(pe.size());
  if (rng.Below(4) != 0) at = std::min(pe.size() - 4, hotSpots[rng.Below(hotSpots.size())] + rng.Below(48));
  at = std::min(at, pe.size() - 4);
  switch (rng.Below(5)) {
    case 0: pe[at] = static_cast<uint8_t>(rng.Next()); break;
    case 1: pe[at] ^= static_cast<uint8_t>(1u << rng.Below(8)); break;
    case 2: Put16(pe, at, static_cast<uint16_t>(InterestingValue(rng, pe.size()))); break;
    case 3: Put32(pe, at & ~std::size_t{3}, InterestingValue(rng, pe.size())); break;
    default: pe.resize(rng.Below(pe.size()) + 1); break;
  }
}

// Queries a block held in a buffer of exactly its size, so that reading past it is caught.
void QueryExactCopy(const Bytes& block, std::size_t size) {
  auto copy = std::make_unique<uint8_t[]>(size == 0 ? 1 : size);
  std::memcpy(copy.get(), block.data(), std::min(size, block.size()));
  FixedFileInfo info{};
  if (QueryFixedFileInfo(copy.get(), size, info)) {
    EXPECT_EQ(info.signature, kFixedFileInfoSignature);
  }
}

TEST(VersionFuzz, MutatedFilesAlwaysAnswer) {
  TempDir dir{"qm-version"};
  XorShift rng(0x5EED1234ABCDull);
  int found = 0;
  int none = 0;
  for (const std::string& name : VersionedFixtures()) {
    const Bytes original = ReadFixture(name);
    const PeLayout layout(original);
    for (int round = 0; round < 800; ++round) {
      Bytes pe = original;
      const std::size_t mutations = 1 + rng.Below(4);
      for (std::size_t m = 0; m < mutations && pe.size() >= 4; ++m) Mutate(pe, layout, rng);
      const auto block = ReadVersionResourceOfBytes(dir, pe);
      if (!block) {
        ++none;
        continue;
      }
      ++found;
      ASSERT_LE(block->size(), kMaxVersionInfoSize);
      QueryExactCopy(*block, block->size());
    }
  }
  // Both outcomes occur, so the mutations neither miss the reader nor always break it.
  EXPECT_GT(found, 100);
  EXPECT_GT(none, 100);
}

TEST(VersionFuzz, MutatedBlocksAlwaysAnswer) {
  XorShift rng(0xB10C5EEDull);
  for (const std::string& name : VersionedFixtures()) {
    const auto original = ReadVersionResource(std::string(QM_TEST_DATA_DIR) + "/pe/" + name);
    ASSERT_TRUE(original);
    for (int round = 0; round < 1000; ++round) {
      Bytes block = *original;
      const std::size_t at = rng.Below(std::min<std::size_t>(block.size(), 96) - 2);
      if (rng.Below(2) == 0)
        Put16(block, at, static_cast<uint16_t>(rng.Next()));
      else
        block[at] = static_cast<uint8_t>(rng.Next());
      QueryExactCopy(block, rng.Below(block.size() + 1));
      QueryExactCopy(block, block.size());
    }
  }
}

}  // namespace
}  // namespace platform
