// The background window: the ramp and the title as they reach the screen, the
// minimised batch form, and the end of the run when it goes.

#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include "app/main_window.h"
#include "platform/ui/application.h"
#include "tests/common/gui_test_environment.h"

namespace {

QImage Grab(const CMainWnd& window) { return window.Widget()->grab().toImage(); }

// Pixels in rect for which match is true.
template <typename Match>
int CountPixels(const QImage& image, const QRect& rect, Match match) {
  int count = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (match(image.pixelColor(x, y))) ++count;
  return count;
}

TEST(MainWindow, CoversTheScreenWithTheRampAndTheTitle) {
  CMainWnd window;
  ASSERT_TRUE(window.Create(false));
  platform::ui::PumpMessages();
  EXPECT_EQ(window.Text(), "Quillmark 2.0 Setup");
  // Its frame covers the screen; the caption and border take their part of it.
  EXPECT_EQ(window.Rect(), platform::ui::Application::Current()->ScreenRect());
  ASSERT_NE(window.Palette(), nullptr);
  EXPECT_TRUE(window.Palette()->IsEmpty());  // no hardware palette: plain colours

  const QImage image = Grab(window);
  ASSERT_FALSE(image.isNull());
  const int right = image.width() - 1;
  const int bottom = image.height() - 1;
  EXPECT_EQ(image.pixelColor(right, 0), QColor(0, 0, 255));
  const QColor last = image.pixelColor(right, bottom);
  EXPECT_EQ(last.red(), 0);
  EXPECT_EQ(last.green(), 0);
  EXPECT_LE(last.blue(), 2);
  const QColor middle = image.pixelColor(right, image.height() / 2);
  EXPECT_NEAR(middle.blue(), 128, 2);
  // One colour per row: the left edge below the title matches the right edge.
  EXPECT_EQ(image.pixelColor(0, bottom / 2), middle);

  // The title: white letters from 16,16 with a black shadow to their lower right.
  const QRect titleArea(16, 16, 300, 40);
  const int white = CountPixels(image, titleArea, [](QColor c) { return c == QColor(255, 255, 255); });
  const int shadow = CountPixels(image, titleArea, [](QColor c) { return c.blue() < 40; });
  EXPECT_GT(white, 100);
  EXPECT_GT(shadow, 100);
  // Nothing of the title above or left of its position.
  EXPECT_EQ(CountPixels(image, QRect(0, 0, 300, 16), [](QColor c) { return c.blue() < 240; }), 0);
  window.Destroy();
}

TEST(MainWindow, HasTheCaptionAndSystemMenuOfItsStyle) {
  CMainWnd window;
  ASSERT_TRUE(window.Create(false));
  const Qt::WindowFlags flags = window.Widget()->windowFlags();
  EXPECT_FALSE(flags.testFlag(Qt::FramelessWindowHint));
  for (Qt::WindowType hint : {Qt::WindowTitleHint, Qt::WindowSystemMenuHint, Qt::WindowCloseButtonHint,
                              Qt::WindowMinimizeButtonHint, Qt::WindowMaximizeButtonHint}) {
    EXPECT_TRUE(flags.testFlag(hint)) << hint;
  }
  EXPECT_EQ(window.Widget()->windowTitle().toStdString(), "Quillmark 2.0 Setup");
  window.Destroy();
}

TEST(MainWindow, BatchModeIsMinimised) {
  CMainWnd window;
  ASSERT_TRUE(window.Create(true));
  platform::ui::PumpMessages();
  EXPECT_TRUE(window.Widget()->windowState() & Qt::WindowMinimized);
  window.Destroy();
}

TEST(MainWindow, DestroyingItEndsTheRun) {
  CMainWnd window;
  ASSERT_TRUE(window.Create(false));
  auto* app = platform::ui::Application::Current();
  EXPECT_EQ(app->MainWindow(), &window);
  // Main windows of earlier tests posted their quit when they went; that one
  // ends its own loop first.
  if (app->QuitPosted()) app->Run();
  QTimer::singleShot(0, [&window] { window.Destroy(); });
  EXPECT_EQ(app->Run(), 0);
  EXPECT_FALSE(window.IsCreated());
  EXPECT_EQ(window.Palette(), nullptr);
}

}  // namespace
