#include "app/page_screenshots.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <vector>

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QWidget>

#include "platform/ui/application.h"
#include "platform/ui/window.h"

namespace {

// PNG quality 0 is the strongest compression: the pictures end up in documents.
constexpr int kSmallestPng = 0;

// A window's caption and frame as the system draws them around its client
// area. Offscreen there is no window manager to draw them, and without them a
// dialog over its page would look like part of the page.
constexpr int kFrameWidth = 3;
constexpr int kCaptionHeight = 18;

bool HasCaption(const QWidget& window) {
  const Qt::WindowFlags flags = window.windowFlags();
  return flags.testFlag(Qt::WindowTitleHint) && !flags.testFlag(Qt::FramelessWindowHint);
}

void DrawCaptionAndFrame(QPainter& painter, const QRect& client, const QWidget& window) {
  const QRect caption(client.left(), client.top() - kCaptionHeight - 1, client.width(), kCaptionHeight);
  const QRect outer = client.united(caption).adjusted(-kFrameWidth, -kFrameWidth, kFrameWidth - 1, kFrameWidth - 1);
  painter.fillRect(outer, QColor(192, 192, 192));
  // Raised: light above and left, dark below and right.
  painter.setPen(QColor(223, 223, 223));
  painter.drawLine(outer.topLeft(), outer.topRight());
  painter.drawLine(outer.topLeft(), outer.bottomLeft());
  painter.setPen(Qt::white);
  painter.drawLine(outer.topLeft() + QPoint(1, 1), QPoint(outer.right() - 1, outer.top() + 1));
  painter.drawLine(outer.topLeft() + QPoint(1, 1), QPoint(outer.left() + 1, outer.bottom() - 1));
  painter.setPen(QColor(128, 128, 128));
  painter.drawLine(QPoint(outer.left() + 1, outer.bottom() - 1), outer.bottomRight() - QPoint(1, 1));
  painter.drawLine(QPoint(outer.right() - 1, outer.top() + 1), outer.bottomRight() - QPoint(1, 1));
  painter.setPen(Qt::black);
  painter.drawLine(outer.bottomLeft(), outer.bottomRight());
  painter.drawLine(outer.topRight(), outer.bottomRight());

  painter.fillRect(caption, QColor(0, 0, 128));
  QFont font = window.font();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(caption.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter, window.windowTitle());
}

// The windows on screen from the bottom up: the background, the other
// windows, then the modal ones, the active modal window last.
std::vector<QWidget*> WindowsBottomUp(QWidget* background) {
  std::vector<QWidget*> plain;
  std::vector<QWidget*> modal;
  QWidget* activeModal = QApplication::activeModalWidget();
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget == background || widget == activeModal) continue;
    (widget->isModal() ? modal : plain).push_back(widget);
  }
  std::vector<QWidget*> windows;
  if (background != nullptr) windows.push_back(background);
  windows.insert(windows.end(), plain.begin(), plain.end());
  windows.insert(windows.end(), modal.begin(), modal.end());
  if (activeModal != nullptr && activeModal != background) windows.push_back(activeModal);
  return windows;
}

// The screen as a person sees it: the background window, then every other
// window on screen above it. Each window is painted into the picture itself,
// so a page that has only just been shown is in it, painted, even before the
// platform has put it on the screen.
QImage ComposeScreen(const QRect& screenRect) {
  QImage picture(screenRect.size(), QImage::Format_RGB32);
  picture.fill(Qt::black);
  QPainter painter(&picture);

  QWidget* background = nullptr;
  if (auto* app = platform::ui::Application::Current()) {
    if (platform::ui::Window* main = app->MainWindow()) background = main->Widget();
  }
  for (QWidget* widget : WindowsBottomUp(background)) {
    if (!widget->isVisible() || widget->isMinimized() || widget->size().isEmpty()) continue;
    // Rendered onto what lies below, as on a screen: a control that paints
    // nothing (an empty gauge) shows its page, not stale memory.
    const QPoint at = widget->geometry().topLeft() - screenRect.topLeft();
    const QRect client(at, widget->size());
    if (widget != background && HasCaption(*widget)) DrawCaptionAndFrame(painter, client, *widget);
    painter.fillRect(client, widget->palette().color(QPalette::Window));
    widget->render(&painter, at);
  }
  return picture;
}

}  // namespace

std::unique_ptr<PageScreenshots> PageScreenshots::FromEnvironment() {
  const char* directory = std::getenv(kEnvironmentVariable);
  if (directory == nullptr || *directory == '\0') return nullptr;
  return std::make_unique<PageScreenshots>(directory);
}

PageScreenshots::PageScreenshots(std::filesystem::path directory) : directory_(std::move(directory)) {}

bool PageScreenshots::Take(int pageId) { return Save("", pageId); }

bool PageScreenshots::TakeDialog(int templateId) { return Save("dialog_", templateId); }

bool PageScreenshots::Save(const char* kind, int id) {
  ++count_;
  char name[48];
  std::snprintf(name, sizeof name, "%03d_%s%d.png", count_, kind, id);
  const std::filesystem::path file = directory_ / name;

  std::error_code ec;
  std::filesystem::create_directories(directory_, ec);
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    std::fprintf(stderr, "%s: no screen to take %s from\n", kEnvironmentVariable, file.c_str());
    return false;
  }
  const QImage picture = ComposeScreen(screen->geometry());
  if (picture.isNull() || !picture.save(QString::fromStdString(file.string()), "PNG", kSmallestPng)) {
    std::fprintf(stderr, "%s: cannot write %s\n", kEnvironmentVariable, file.c_str());
    return false;
  }
  return true;
}
