// The gauge window over a dialog's frame control: what it paints for the
// copying page's start, part of the way, past its end and with an empty range.

#include <gtest/gtest.h>

#include <array>
#include <limits>

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "platform/resources/resource_module.h"
#include "platform/resources/window_styles.h"
#include "platform/ui/application.h"
#include "platform/ui/dialog.h"
#include "platform/ui/resources_access.h"
#include "tests/common/gui_test_environment.h"
#include "wizard/gauge.h"

namespace {

using platform::ui::SysColor;
using platform::ui::SystemColor;

constexpr int kFrameId = 1010;
constexpr std::uint32_t kGaugeStyle = platform::WS_CHILD | platform::WS_VISIBLE | platform::WS_BORDER;

const std::array<platform::ControlTemplate, 1> kControls{{
    {kFrameId, "STATIC", "", platform::WS_CHILD | platform::WS_VISIBLE | platform::SS_BLACKFRAME, 0, 10, 20, 200, 12},
}};
const platform::DialogTemplate kTemplate{
    9108, platform::WS_POPUP | platform::WS_VISIBLE, 0, 0, 0, 220, 50, "Copying", "MS Sans Serif", 8, 0, false,
    kControls};

class GaugeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dialog_.Create());
    frameRect_ = dialog_.ItemRect(kFrameId);
    ASSERT_TRUE(gauge_.CreateOver(dialog_, kFrameId, kGaugeStyle));
  }
  void TearDown() override {
    gauge_.Destroy();
    dialog_.Destroy();
  }

  // The gauge's area inside its border, as the dialog shows it.
  QImage GaugeImage() {
    gauge_.UpdateNow();
    platform::ui::PumpMessages();
    const QImage all = dialog_.Widget()->grab().toImage();
    return all.copy(gauge_.Rect().adjusted(1, 1, -1, -1));
  }
  static int Count(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixelColor(x, y) == colour) ++count;
    return count;
  }

  platform::ui::Dialog dialog_{kTemplate, nullptr};
  CGauge gauge_;
  QRect frameRect_;
  const QColor bar_ = SystemColor(SysColor::Highlight);
  const QColor back_ = SystemColor(SysColor::Window);
};

TEST_F(GaugeTest, TakesThePlaceOfTheFrameControl) {
  EXPECT_EQ(gauge_.ControlId(), kFrameId);
  EXPECT_EQ(gauge_.Rect(), frameRect_);
  EXPECT_EQ(gauge_.Text(), "Gauge");
}

TEST_F(GaugeTest, StartOfTheCopyShowsZeroPercent) {
  gauge_.SetRange(1, 5000);
  gauge_.SetPos(0, true);
  EXPECT_EQ(gauge_.Position(), 1u);
  const QImage image = GaugeImage();
  EXPECT_EQ(image.pixelColor(1, 1), back_);  // no bar at the left edge
  EXPECT_GT(Count(image, bar_), 10);         // but the text "0%"
  EXPECT_LT(Count(image, bar_), image.width() * image.height() / 10);
}

TEST_F(GaugeTest, PartOfTheWayFillsThatShareAndTheTextChangesColourOverIt) {
  gauge_.SetRange(0, 100);
  gauge_.SetPos(37, true);
  const QImage image = GaugeImage();
  const int barEnd = 37 * gauge_.ClientRect().width() / 100;
  EXPECT_EQ(image.pixelColor(2, 1), bar_);
  EXPECT_EQ(image.pixelColor(barEnd / 2, image.height() - 2), bar_);
  EXPECT_EQ(image.pixelColor(image.width() - 3, 1), back_);
  // The text sits in the middle over the unfilled part: bar-coloured letters there.
  const QImage middle = image.copy(image.width() / 2 - 20, 0, 40, image.height());
  EXPECT_GT(Count(middle, bar_), 10);
}

TEST_F(GaugeTest, PastTheMaximumIsAFullBar) {
  gauge_.SetRange(1, 5000);
  gauge_.SetPos(7000, true);
  EXPECT_EQ(gauge_.Position(), 5000u);
  const QImage image = GaugeImage();
  EXPECT_EQ(image.pixelColor(image.width() - 3, 1), bar_);
  const QImage middle = image.copy(image.width() / 2 - 20, 0, 40, image.height());
  EXPECT_GT(Count(middle, back_), 10);  // "100%" in the window colour over the bar
  EXPECT_GT(Count(image, bar_), image.width() * image.height() / 2);
}

TEST_F(GaugeTest, EmptyRangeDrawsNothing) {
  gauge_.SetRange(50, 50);
  gauge_.SetPos(50, true);
  const QImage image = GaugeImage();
  const QColor dialogBackground = dialog_.Widget()->grab().toImage().pixelColor(1, 1);
  EXPECT_EQ(Count(image, dialogBackground), image.width() * image.height());
}

TEST_F(GaugeTest, PositionsStayInTheRangeWithoutWrapping) {
  constexpr std::uint32_t kMax32 = std::numeric_limits<std::uint32_t>::max();
  gauge_.SetRange(0, kMax32);
  gauge_.SetPos(kMax32, false);
  EXPECT_EQ(GaugeImage().pixelColor(1, 1), bar_);  // 100% of a full 32-bit range

  gauge_.SetRange(10, 1000);
  gauge_.SetPos(20, false);
  gauge_.OffsetPos(-50, false);  // below zero: the minimum, not a wrapped huge value
  EXPECT_EQ(gauge_.Position(), 10u);
  gauge_.OffsetPos(600, false);
  EXPECT_EQ(gauge_.Position(), 610u);
  gauge_.OffsetPos(std::int64_t{1} << 40, false);
  EXPECT_EQ(gauge_.Position(), 1000u);

  gauge_.SetRange(100, 10);  // reversed: the minimum wins
  gauge_.SetPos(50, false);
  EXPECT_EQ(gauge_.Position(), 100u);
}

}  // namespace
