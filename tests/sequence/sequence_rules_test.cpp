// The rules of the installation sequence that need no window: the delay the
// "Doruror Settings" dialog keeps, and which billboard the copy shows.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "sequence/billboard_index.h"
#include "sequence/copy_delay.h"

namespace {

TEST(CopyDelay, TypedValuesAreKeptBetweenFiveAndFifty) {
  const struct {
    std::string text;
    int delay;
  } cases[] = {
      {"3", 5},   {"5", 5},  {"10", 10}, {"50", 50}, {"51", 50}, {"999999999999", 50},
      {"abc", 5}, {"", 5},   {"-7", 5},  {" 12x", 12},
  };
  for (const auto& c : cases) EXPECT_EQ(CopyDelayFromText(c.text), c.delay) << '"' << c.text << '"';
}

TEST(BillboardIndex, QuartersOfTheTotalPickTheBillboard) {
  const struct {
    std::uint64_t position;
    std::uint64_t total;
    int index;
  } cases[] = {
      {0, 0, 0},     {5, 0, 0},     {0, 100, 0},  {24, 100, 0}, {25, 100, 1},
      {50, 100, 2},  {99, 100, 3},  {100, 100, 3}, {400, 100, 3},
      // Totals beyond 32 bits, as an install of several gigabytes has.
      {3ULL << 32, 4ULL << 32, 3},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BillboardIndex(c.position, c.total), c.index) << c.position << " of " << c.total;
  }
}

}  // namespace
