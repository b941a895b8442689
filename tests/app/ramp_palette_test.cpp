// The background ramp's colours and the palette built for it.

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/ramp_palette.h"

namespace {

TEST(RampPalette, PaletteDisplayGetsDefaultsThenRampFromBlueToNearlyBlack) {
  const auto defaults = ClassicDefaultPalette();
  ASSERT_EQ(defaults.size(), 20u);
  const RampPalette palette = RampPalette::Build(256, defaults, kRampStart, kRampEnd);
  const auto& entries = palette.Entries();
  ASSERT_EQ(entries.size(), 256u);
  for (std::size_t i = 0; i < defaults.size(); ++i) EXPECT_EQ(entries[i], defaults[i]) << i;

  // 236 free entries: blue = 255 - 255 * i / 236, truncated.
  EXPECT_EQ(entries[20], (PaletteEntry{0, 0, 255, 0}));
  EXPECT_EQ(entries[20 + 118], (PaletteEntry{0, 0, 128, 0}));
  EXPECT_EQ(entries[255], (PaletteEntry{0, 0, 2, 0}));
  for (std::size_t i = 21; i < entries.size(); ++i) {
    EXPECT_LE(entries[i].blue, entries[i - 1].blue) << i;
    EXPECT_EQ(entries[i].red, 0);
    EXPECT_EQ(entries[i].green, 0);
    EXPECT_EQ(entries[i].flags, 0);
  }
}

TEST(RampPalette, NoFreeEntriesMeansNoPalette) {
  const auto defaults = ClassicDefaultPalette();
  EXPECT_TRUE(RampPalette::Build(0, defaults, kRampStart, kRampEnd).IsEmpty());  // a display without one
  EXPECT_TRUE(RampPalette::Build(16, defaults, kRampStart, kRampEnd).IsEmpty());  // fewer than the reserved
  EXPECT_TRUE(RampPalette::Build(20, defaults, kRampStart, kRampEnd).IsEmpty());
  EXPECT_EQ(RampPalette::Build(21, defaults, kRampStart, kRampEnd).Entries().size(), 21u);
}

TEST(RampPalette, RowColoursTruncateAndWorkForAnyEndColour) {
  // Rows of a 600-pixel window: top pure blue, bottom nearly black.
  EXPECT_EQ(RampStep(kRampStart, kRampEnd, 0, 600), (RampColor{0, 0, 255}));
  EXPECT_EQ(RampStep(kRampStart, kRampEnd, 300, 600), (RampColor{0, 0, 128}));  // 255 - 127.5 truncated
  EXPECT_EQ(RampStep(kRampStart, kRampEnd, 599, 600), (RampColor{0, 0, 1}));
  // Rising channels truncate towards the start as well.
  EXPECT_EQ(RampStep({0, 10, 255}, {255, 0, 0}, 1, 3), (RampColor{85, 7, 170}));
  EXPECT_THROW(RampStep(kRampStart, kRampEnd, 0, 0), std::invalid_argument);
}

}  // namespace
