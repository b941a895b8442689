#include "platform/ui/resources_access.h"

#include <cctype>
#include <map>
#include <string>

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include "platform/core/exceptions.h"
#include "platform/ui/application.h"
#include "platform/ui/detail/message_loops.h"

namespace platform::ui {

namespace {

// Decoded bitmaps by key ("name" upper case, or "#id"); pixmaps must not outlive
// the Qt application, so the application clears the cache when it goes.
std::map<std::string, QPixmap>& BitmapCache() {
  static std::map<std::string, QPixmap> cache;
  return cache;
}

const ResourceModule& CurrentResources() {
  Application* app = Application::Current();
  if (app == nullptr) throw ResourceException("no application to load bitmaps from");
  return app->Resources();
}

QPixmap Decode(const BitmapResource* bitmap, const std::string& key) {
  if (bitmap == nullptr) throw ResourceException("bitmap " + key + " is missing");
  auto& cache = BitmapCache();
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  QImage image;
  const auto& bytes = bitmap->bmpFile;
  if (!image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP")) {
    throw ResourceException("bitmap " + key + " is not a readable BMP");
  }
  QPixmap pixmap = QPixmap::fromImage(image);
  cache.emplace(key, pixmap);
  return pixmap;
}

}  // namespace

namespace detail {
void ClearBitmapCache() { BitmapCache().clear(); }
}  // namespace detail

QPixmap LoadBitmapResource(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return Decode(CurrentResources().FindBitmap(name), key);
}

QPixmap LoadBitmapResource(int numericId) {
  return Decode(CurrentResources().FindBitmap(numericId), "#" + std::to_string(numericId));
}

int SystemMetric(Metric metric) {
  switch (metric) {
    case Metric::CxHThumb:
    case Metric::CyVThumb:
      return 16;
    case Metric::CxDlgFrame:
    case Metric::CyDlgFrame:
      return 3;
    case Metric::CxScreen:
    case Metric::CyScreen: {
      const QScreen* screen = QGuiApplication::primaryScreen();
      const QSize size = screen != nullptr ? screen->geometry().size() : QSize(800, 600);
      return metric == Metric::CxScreen ? size.width() : size.height();
    }
  }
  return 0;
}

QColor SystemColor(SysColor color) {
  switch (color) {
    case SysColor::Window:
      return Qt::white;
    case SysColor::WindowText:
      return Qt::black;
    case SysColor::Highlight:
      return QColor(0x00, 0x00, 0x80);
    case SysColor::HighlightText:
      return Qt::white;
    case SysColor::ButtonFace:
      return QColor(0xC0, 0xC0, 0xC0);
    case SysColor::ButtonText:
      return Qt::black;
    case SysColor::GrayText:
      return QColor(0x80, 0x80, 0x80);
  }
  return Qt::black;
}

int DevicePaletteSize() { return 0; }

}  // namespace platform::ui
