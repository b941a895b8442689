// The gauge's percentage and geometry, apart from any window.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "wizard/gauge_drawing.h"

namespace {

constexpr std::uint32_t kMax32 = std::numeric_limits<std::uint32_t>::max();

TEST(GaugePercent, CommonRanges) {
  EXPECT_EQ(GaugePercent(0, 100, 37), 37);
  EXPECT_EQ(GaugePercent(1, 5000, 1), 0);  // the copying page's start
  EXPECT_EQ(GaugePercent(1, 5000, 5000), 100);
  EXPECT_EQ(GaugePercent(1, 3, 2), 50);
  EXPECT_EQ(GaugeText(37), "37%");
  EXPECT_EQ(GaugeText(0), "0%");
}

TEST(GaugePercent, HugeRangesDoNotOverflow) {
  // (position - minimum) x 100 exceeds 32 bits for any position past 42,949,672.
  EXPECT_EQ(GaugePercent(0, kMax32, kMax32), 100);
  EXPECT_EQ(GaugePercent(0, kMax32, kMax32 / 2), 49);
  EXPECT_EQ(GaugePercent(0, kMax32, 0x80000000u), 50);
  EXPECT_EQ(GaugePercent(0x80000000u, kMax32, kMax32), 100);
  EXPECT_EQ(GaugePercent(1, 3'000'000'000u, 1'110'000'000u), 36);
}

TEST(GaugePercent, NonPositiveIsZero) {
  EXPECT_EQ(GaugePercent(7, 7, 7), 0);
  EXPECT_EQ(GaugePercent(100, 10, 50), 0);  // reversed range
  EXPECT_EQ(GaugePercent(100, 200, 50), 0); // below the minimum
}

TEST(GaugeLayout, HorizontalBarAndCentredText) {
  const QRect client(0, 0, 200, 20);
  const GaugeLayout layout = LayoutGauge(client, 37, QSize(24, 14), GaugeOrientation::Horizontal);
  EXPECT_EQ(layout.filled, QRect(0, 0, 74, 20));
  EXPECT_EQ(layout.rest, QRect(74, 0, 126, 20));
  EXPECT_EQ(layout.textOrigin, QPoint(88, 3));

  EXPECT_TRUE(LayoutGauge(client, 0, QSize(10, 10), GaugeOrientation::Horizontal).filled.isEmpty());
  const GaugeLayout full = LayoutGauge(client, 100, QSize(10, 10), GaugeOrientation::Horizontal);
  EXPECT_EQ(full.filled, client);
  EXPECT_TRUE(full.rest.isEmpty());
}

TEST(GaugeLayout, VerticalBarGrowsDownOverTheFullWidth) {
  const QRect client(10, 20, 30, 200);
  const GaugeLayout layout = LayoutGauge(client, 25, QSize(20, 14), GaugeOrientation::Vertical);
  EXPECT_EQ(layout.filled, QRect(10, 20, 30, 50));
  EXPECT_EQ(layout.rest, QRect(10, 70, 30, 150));
  EXPECT_EQ(layout.textOrigin, QPoint(15, 113));
}

}  // namespace
