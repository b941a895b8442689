#include "app/main_window.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <QWidget>

#include "app/setup_app.h"
#include "install/errors/string_table.h"
#include "platform/resources/window_styles.h"
#include "platform/ui/application.h"
#include "platform/ui/resources_access.h"

namespace {

constexpr unsigned kTitleStringId = 4;

// Maximised, thin border, system menu, minimise and maximise boxes.
constexpr std::uint32_t kMainWindowStyle = platform::WS_MAXIMIZE | platform::WS_BORDER | platform::WS_SYSMENU |
                                           platform::WS_MINIMIZEBOX | platform::WS_MAXIMIZEBOX;
static_assert(kMainWindowStyle == 0x018B0000u);

constexpr int kTitlePointSize = 24;
const QColor kTitleColor(255, 255, 255);
const QColor kShadowColor(0, 0, 0);

QFont TitleFont(int logicalDpiY) {
  QFont font(QStringLiteral("Arial"));
  // Points to pixels with the display's vertical resolution, rounded as MulDiv does.
  font.setPixelSize((kTitlePointSize * logicalDpiY + 36) / 72);
  font.setBold(true);
  font.setItalic(true);
  return font;
}

}  // namespace

CMainWnd::CMainWnd() = default;
CMainWnd::~CMainWnd() = default;

std::string CMainWnd::TitleText() {
  if (const auto* app = platform::ui::Application::Current()) {
    if (const char* text = app->Resources().FindString(kTitleStringId)) return text;
  }
  return LoadStringText(kTitleStringId);
}

bool CMainWnd::Create(bool batchMode) {
  if (!FrameWindow::Create(TitleText(), kMainWindowStyle)) return false;

  palette_ = std::make_unique<RampPalette>(RampPalette::Build(
      platform::ui::DevicePaletteSize(), ClassicDefaultPalette(), kRampStart, kRampEnd));

  auto* app = platform::ui::Application::Current();
  if (app != nullptr) {
    app->SetMainWindow(this);
    // A window manager may ignore "maximised", and the offscreen screen has none.
    Move(app->ScreenRect());
  }
  Show(batchMode ? platform::ui::ShowCommand::Minimized : platform::ui::ShowCommand::Maximized);
  return true;
}

void CMainWnd::OnPaint(QPainter& painter) {
  // There is no hardware palette to realize: the ramp is painted with plain colours.
  PaintRamp(painter);
  PaintTitle(painter);
}

void CMainWnd::PaintRamp(QPainter& painter) const {
  const QRect client = ClientRect();
  const int height = client.height();
  for (int y = 0; y < height; ++y) {
    const RampColor c = RampStep(kRampStart, kRampEnd, y, height);
    painter.fillRect(QRect(client.left(), client.top() + y, client.width(), 1), QColor(c.red, c.green, c.blue));
  }
}

void CMainWnd::PaintTitle(QPainter& painter) const {
  using platform::ui::Metric;
  using platform::ui::SystemMetric;
  const QString title = QString::fromStdString(TitleText());
  const int dpi = Widget() != nullptr ? Widget()->logicalDpiY() : 96;

  painter.save();
  painter.setFont(TitleFont(dpi));
  painter.setBackgroundMode(Qt::TransparentMode);
  // Positions name the top of the text cell, so the baseline is one ascent below.
  const int ascent = painter.fontMetrics().ascent();
  const int x = SystemMetric(Metric::CxHThumb);
  const int y = SystemMetric(Metric::CyVThumb);
  const int shadowX = x + 2 * SystemMetric(Metric::CxDlgFrame);
  const int shadowY = y + 2 * SystemMetric(Metric::CyDlgFrame);
  painter.setPen(kShadowColor);
  painter.drawText(QPoint(shadowX, shadowY + ascent), title);
  painter.setPen(kTitleColor);
  painter.drawText(QPoint(x, y + ascent), title);
  painter.restore();
}

void CMainWnd::OnActivateApp(bool active) {
  active_ = active ? 1 : 0;
  // The pages and the background repaint on every change of activation.
  Invalidate();
  FrameWindow::OnActivateApp(active);
}

void CMainWnd::OnClose() {
  if (auto* app = dynamic_cast<SetupApp*>(platform::ui::Application::Current())) app->BackgroundClosed();
  Destroy();
}

void CMainWnd::OnDestroy() {
  palette_.reset();
  FrameWindow::OnDestroy();
}
