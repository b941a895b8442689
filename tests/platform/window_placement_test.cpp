#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/core/window_placement.h"

namespace {

TEST(WindowPlacement, CentresTheWindowOnTheFraction) {
  const WindowOrigin centred = PlaceAtFraction(800, 600, 200, 100, 1, 2, 1, 2);
  EXPECT_EQ(centred.x, 300);
  EXPECT_EQ(centred.y, 250);
  // Billboards: half the width, a third of the height; the copy page: three quarters.
  EXPECT_EQ(PlaceAtFraction(800, 600, 200, 100, 1, 2, 1, 3).y, 150);
  EXPECT_EQ(PlaceAtFraction(800, 600, 200, 100, 1, 2, 3, 4).y, 400);
}

TEST(WindowPlacement, KeepsTheWindowInsideTheParent) {
  EXPECT_EQ(PlaceAlongAxis(800, 200, 1, 1), 600) << "moved back to end at the right edge";
  EXPECT_EQ(PlaceAlongAxis(800, 200, 0, 1), 0) << "never left of the start";
  EXPECT_EQ(PlaceAlongAxis(800, 800, 1, 2), 0);
  // Wider than the parent: the start stays visible.
  EXPECT_EQ(PlaceAlongAxis(100, 300, 1, 2), 0);
  EXPECT_EQ(PlaceAlongAxis(100, 300, 1, 1), 0);
}

TEST(WindowPlacement, LargeFactorsDoNotOverflowAndZeroDenominatorIsRefused) {
  EXPECT_EQ(PlaceAlongAxis(100000, 1000, 100000, 200000), 49500);
  EXPECT_THROW(PlaceAlongAxis(800, 200, 1, 0), std::invalid_argument);
}

}  // namespace
