// Renders every dialog template of the program's resources to a picture, as a
// page would show it (bitmap buttons bound, the gauge over its frame, the
// billboards in their windows), a contact sheet of them all, and a few pages
// over the background window as the screen shows them. The pictures are for
// people to look at; the test checks only that each was made and is not blank.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include "app/main_window.h"
#include "install/errors/error_report.h"
#include "install/errors/string_table.h"
#include "install/errors/xexception.h"
#include "platform/resources/resource_module.h"
#include "platform/resources/window_styles.h"
#include "platform/ui/application.h"
#include "platform/ui/dialog.h"
#include "platform/ui/placement.h"
#include "platform/ui/resources_access.h"
#include "resources/setup_resources.h"
#include "tests/common/gui_test_environment.h"
#include "wizard/gauge.h"
#include "wizard/report_dialog.h"

namespace {

namespace fs = std::filesystem;
using platform::ui::Dialog;

constexpr int kBillboardTemplate = 120;
constexpr int kBillboards[] = {145, 146, 147, 153};
constexpr int kGaugeFrame = 1010;
constexpr int kGaugePercent = 37;
constexpr int kReportMore = 119;
// Pages shown over the background window in the screen pictures.
constexpr int kScreenPages[] = {132, 102, 125, 108, 1544};

const fs::path kGalleryDir{QM_GALLERY_DIR};

struct Shot {
  std::string label;
  QImage image;
};

bool IsBitmapButton(const platform::ControlTemplate& control) {
  const QString windowClass = QString::fromUtf8(control.windowClass.data(), qsizetype(control.windowClass.size()));
  return windowClass.compare(QStringLiteral("BUTTON"), Qt::CaseInsensitive) == 0 &&
         (control.style & platform::kButtonTypeMask) == platform::BS_OWNERDRAW;
}

// What a page does to its template before it is seen: bitmap buttons bound to
// the pictures their captions name, the gauge over its frame.
std::unique_ptr<CGauge> Dress(Dialog& dialog, const platform::DialogTemplate& dialogTemplate) {
  const auto& resources = platform::ui::Application::Current()->Resources();
  for (const auto& control : dialogTemplate.controls) {
    if (!IsBitmapButton(control) || control.id == -1) continue;
    const std::string face = std::string(control.text) + "U";
    if (resources.FindBitmap(face) != nullptr) dialog.BindBitmapButton(control.id, control.text);
  }
  if (dialogTemplate.FindControl(kGaugeFrame) == nullptr) return nullptr;
  auto gauge = std::make_unique<CGauge>();
  if (!gauge->CreateOver(dialog, kGaugeFrame, platform::WS_CHILD | platform::WS_VISIBLE | platform::WS_BORDER))
    return nullptr;
  gauge->SetRange(0, 100);
  gauge->SetPos(kGaugePercent, true);
  return gauge;
}

QImage GrabDialog(Dialog& dialog) {
  dialog.Show(platform::ui::ShowCommand::NoActivate);
  platform::ui::PumpMessages();
  return dialog.Widget()->grab().toImage();
}

void Save(const QImage& image, const std::string& name) {
  const fs::path file = kGalleryDir / (name + ".png");
  ASSERT_TRUE(image.save(QString::fromStdString(file.string()))) << file;
}

// Whether the picture holds more than one colour.
bool HasContent(const QImage& image) {
  if (image.isNull()) return false;
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != first) return true;
  return false;
}

QImage ContactSheet(const std::vector<Shot>& shots) {
  constexpr int kSheetWidth = 2400;
  constexpr int kGap = 16;
  constexpr int kLabelHeight = 22;
  QFont labelFont(QStringLiteral("Arial"));
  labelFont.setPixelSize(16);
  labelFont.setBold(true);

  // Flow the pictures into rows.
  struct Place {
    QPoint at;
    const Shot* shot;
  };
  std::vector<Place> places;
  int x = kGap, y = kGap, rowHeight = 0;
  for (const Shot& shot : shots) {
    if (x > kGap && x + shot.image.width() > kSheetWidth) {
      x = kGap;
      y += rowHeight + kGap;
      rowHeight = 0;
    }
    places.push_back({QPoint(x, y), &shot});
    x += shot.image.width() + kGap;
    rowHeight = std::max(rowHeight, shot.image.height() + kLabelHeight);
  }
  QImage sheet(kSheetWidth, y + rowHeight + kGap, QImage::Format_RGB32);
  sheet.fill(QColor(64, 64, 64));
  QPainter painter(&sheet);
  painter.setFont(labelFont);
  painter.setPen(Qt::white);
  for (const Place& place : places) {
    painter.drawText(QRect(place.at, QSize(place.shot->image.width(), kLabelHeight)),
                     Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(place.shot->label));
    painter.drawImage(place.at + QPoint(0, kLabelHeight), place.shot->image);
  }
  return sheet;
}

QImage BillboardShot(int bitmapId) {
  Dialog billboard(kBillboardTemplate, nullptr);
  EXPECT_TRUE(billboard.Create());
  const QPixmap picture = platform::ui::LoadBitmapResource(bitmapId);
  // The billboard paints its picture and is sized to it.
  auto label = std::make_unique<QLabel>(billboard.Widget());
  label->setPixmap(picture);
  label->setGeometry(0, 0, picture.width(), picture.height());
  label.release()->show();  // owned by the billboard's widget from here on
  billboard.Move(QRect(billboard.Rect().topLeft(), picture.size()));
  return GrabDialog(billboard);
}

TEST(TemplateGallery, EveryTemplateIsDrawn) {
  fs::create_directories(kGalleryDir);
  std::vector<Shot> shots;
  for (const platform::DialogTemplate& dialogTemplate : SetupResources().dialogs) {
    SCOPED_TRACE(dialogTemplate.id);
    if (dialogTemplate.id == kBillboardTemplate) {
      for (int bitmapId : kBillboards) {
        const std::string name = std::to_string(kBillboardTemplate) + "_" + std::to_string(bitmapId);
        shots.push_back({name, BillboardShot(bitmapId)});
        EXPECT_TRUE(HasContent(shots.back().image));
        Save(shots.back().image, name);
      }
      continue;
    }
    Dialog dialog(dialogTemplate.id, nullptr);
    ASSERT_TRUE(dialog.Create());
    const auto gauge = Dress(dialog, dialogTemplate);
    const std::string name = std::to_string(dialogTemplate.id);
    shots.push_back({name, GrabDialog(dialog)});
    EXPECT_TRUE(HasContent(shots.back().image));
    Save(shots.back().image, name);
    if (gauge) gauge->Destroy();
    dialog.Destroy();
  }
  ASSERT_FALSE(shots.empty());
  Save(ContactSheet(shots), "all");
}

TEST(TemplateGallery, PagesOverTheBackground) {
  fs::create_directories(kGalleryDir);
  CMainWnd background;
  ASSERT_TRUE(background.Create(false));
  platform::ui::PumpMessages();
  for (int pageId : kScreenPages) {
    SCOPED_TRACE(pageId);
    const auto* dialogTemplate = SetupResources().FindDialog(pageId);
    ASSERT_NE(dialogTemplate, nullptr);
    Dialog page(pageId, &background);
    ASSERT_TRUE(page.Create());
    const auto gauge = Dress(page, *dialogTemplate);
    platform::ui::CenterWindow(page, &background);
    page.Show(platform::ui::ShowCommand::Normal);
    platform::ui::PumpMessages();
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
    EXPECT_TRUE(HasContent(screen));
    Save(screen, "screen_" + std::to_string(pageId));
    if (gauge) gauge->Destroy();
    page.Destroy();
  }

  // The report as a failed copy shows it, reduced and after "More>>".
  const FormatArg source("QMW.AR1");
  const ErrorReport report = BuildErrorReport(
      string_id::kCannotInstallFiles, CXFileException(platform::FileCause::FileNotFound), {&source, 1}, true);
  CReportDialog dialog(report, &background);
  ASSERT_TRUE(dialog.Create());
  platform::ui::CenterWindow(dialog, &background);
  dialog.Show(platform::ui::ShowCommand::Normal);
  platform::ui::PumpMessages();
  Save(QGuiApplication::primaryScreen()->grabWindow(0).toImage(), "screen_1544_report");
  dialog.Click(kReportMore);
  platform::ui::PumpMessages();
  Save(QGuiApplication::primaryScreen()->grabWindow(0).toImage(), "screen_1544_report_more");
  dialog.Destroy();
  background.Destroy();
}

}  // namespace
