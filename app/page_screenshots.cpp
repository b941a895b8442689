#include "app/page_screenshots.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QWidget>

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
  // The page has only just been shown: paint every window now, so that the
  // picture holds what a person would see rather than what was there before.
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible()) widget->repaint();
  }
  const QPixmap picture = screen->grabWindow(0);
  if (picture.isNull() || !picture.save(QString::fromStdString(file.string()), "PNG")) {
    std::fprintf(stderr, "%s: cannot write %s\n", kEnvironmentVariable, file.c_str());
    return false;
  }
  return true;
}
