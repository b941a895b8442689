// The billboards of the copy: which picture is up as the bytes go by, and
// where and how large its window is.

#include "sequence/billboard_sequence.h"

#include <gtest/gtest.h>

#include <cstdint>

#include <QPixmap>

#include "platform/ui/application.h"
#include "platform/ui/resources_access.h"
#include "platform/ui/window.h"

namespace {

TEST(BillboardSequence, PicturesTakeTurnsByTheShareCopiedUntilClosed) {
  BillboardSequence billboards(nullptr, false);
  EXPECT_EQ(billboards.ShownIndex(), -1);
  billboards.Start(1000);
  EXPECT_EQ(billboards.ShownIndex(), 0);
  const struct {
    std::uint64_t position;
    int index;
  } steps[] = {{100, 0}, {250, 1}, {600, 2}, {999, 3}, {1000, 3}, {1200, 3}};
  for (const auto& step : steps) {
    billboards.Advance(step.position);
    EXPECT_EQ(billboards.ShownIndex(), step.index) << step.position;
  }
  billboards.Close();
  EXPECT_EQ(billboards.ShownIndex(), -1);
  EXPECT_EQ(billboards.ShownWindow(), nullptr);
  billboards.Advance(0);  // a tick after the end shows nothing again
  EXPECT_EQ(billboards.ShownIndex(), -1);
}

TEST(BillboardSequence, AWindowHasItsPicturesSizeCentredAThirdDownOrNoSizeInBatch) {
  const QSize picture = platform::ui::LoadBitmapResource(145).size();
  ASSERT_FALSE(picture.isEmpty());
  const QRect screen = platform::ui::Application::Current()->ScreenRect();

  BillboardSequence shown(nullptr, false);
  shown.Start(0);
  ASSERT_NE(shown.ShownWindow(), nullptr);
  const QRect rect = shown.ShownWindow()->Rect();
  EXPECT_EQ(rect.size(), picture);
  EXPECT_NEAR(rect.center().x(), screen.x() + screen.width() / 2, 1);
  EXPECT_NEAR(rect.center().y(), screen.y() + screen.height() / 3, 1);

  BillboardSequence batch(nullptr, true);
  batch.Start(0);
  ASSERT_NE(batch.ShownWindow(), nullptr);
  EXPECT_EQ(batch.ShownWindow()->Rect().size(), QSize(0, 0));
}

}  // namespace
