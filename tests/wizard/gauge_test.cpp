// The gauge window over a dialog's frame control: what it paints for the
// copying page's start, part of the way, past its end and with an empty range.

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <limits>

#include <QImage>
#include <QPainter>
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
  // Pixels that differ clearly from colour: letters drawn over a fill of that
  // colour (they are smoothed, so few pixels reach the letters' own colour).
  static int CountAway(const QImage& image, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        const int distance = std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                             std::abs(c.blue() - colour.blue());
        if (distance > 96) ++count;
      }
    return count;
  }
  static QImage Middle(const QImage& image) { return image.copy(image.width() / 2 - 20, 0, 40, image.height()); }

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
  EXPECT_GT(CountAway(Middle(image), back_), 10);  // but the text "0%"
  EXPECT_LT(CountAway(image, back_), image.width() * image.height() / 10);
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
  EXPECT_GT(CountAway(Middle(image), back_), 10);
}

TEST_F(GaugeTest, PastTheMaximumIsAFullBar) {
  gauge_.SetRange(1, 5000);
  gauge_.SetPos(7000, true);
  EXPECT_EQ(gauge_.Position(), 5000u);
  const QImage image = GaugeImage();
  EXPECT_EQ(image.pixelColor(image.width() - 3, 1), bar_);
  EXPECT_EQ(image.pixelColor(1, image.height() - 2), bar_);
  EXPECT_GT(CountAway(Middle(image), bar_), 10);  // "100%" in the window colour over the bar
  EXPECT_LT(CountAway(image, bar_), image.width() * image.height() / 10);
}

// The gauge's own painting, onto a picture of our choosing.
class PaintableGauge : public CGauge {
 public:
  using CGauge::OnPaint;
};

TEST(GaugePainting, EmptyRangeDrawsNothing) {
  platform::ui::Dialog dialog(kTemplate, nullptr);
  ASSERT_TRUE(dialog.Create());
  PaintableGauge gauge;
  ASSERT_TRUE(gauge.CreateOver(dialog, kFrameId, kGaugeStyle));
  gauge.SetRange(50, 50);
  gauge.SetPos(50, false);

  const QColor untouched(255, 0, 255);
  QImage image(gauge.ClientRect().size(), QImage::Format_RGB32);
  image.fill(untouched);
  {
    QPainter painter(&image);
    gauge.OnPaint(painter);
  }
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ASSERT_EQ(image.pixelColor(x, y), untouched) << x << "," << y;

  gauge.SetRange(0, 100);  // the same picture painted with a range is covered
  {
    QPainter painter(&image);
    gauge.OnPaint(painter);
  }
  EXPECT_EQ(image.pixelColor(0, 0), platform::ui::SystemColor(platform::ui::SysColor::Highlight));  // 50%
  EXPECT_EQ(image.pixelColor(image.width() - 1, 0), platform::ui::SystemColor(platform::ui::SysColor::Window));
  dialog.Destroy();
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
