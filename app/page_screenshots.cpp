#include "app/page_screenshots.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <vector>

#include <QApplication>
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
  std::vector<QWidget*> windows;
  if (background != nullptr) windows.push_back(background);
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget != background) windows.push_back(widget);
  }
  for (QWidget* widget : windows) {
    if (!widget->isVisible() || widget->isMinimized() || widget->size().isEmpty()) continue;
    // Rendered onto what lies below, as on a screen: a control that paints
    // nothing (an empty gauge) shows its page, not stale memory.
    const QPoint at = widget->geometry().topLeft() - screenRect.topLeft();
    painter.fillRect(QRect(at, widget->size()), widget->palette().color(QPalette::Window));
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

bool PageScreenshots::Take(int pageId) {
  ++count_;
  char name[32];
  std::snprintf(name, sizeof name, "%03d_%d.png", count_, pageId);
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
