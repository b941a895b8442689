// The pictures of an install run that the README shows: a staged machine with
// two fixed drives, tables whose groups are a few megabytes each, a licence
// and existing program folders, so that every page shows what a person would
// see. The run goes the long way: the browse dialog from the destination, a
// custom choice with one group unticked, the drive space dialog, and a choice
// too large for drive C, continued anyway.
//
// With QMSETUP_SCREENSHOTS=DIR the pictures go to DIR; otherwise to a
// directory of the test's own, which the test then checks.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <QCoreApplication>
#include <QListWidget>
#include <QMouseEvent>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/page_screenshots.h"
#include "app/setup_app.h"
#include "platform/machine/machine.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"
#include "tests/common/setup_app_fixture.h"
#include "tests/common/start_menu_seed.h"
#include "tests/common/temp_dir.h"
#include "wizard/page_chain.h"
#include "wizard/pages/check_list_box.h"
#include "wizard/pages/custom_options_page.h"
#include "wizard/pages/out_of_disk_space_page.h"
#include "wizard/pages/progress_page.h"
#include "wizard/gauge.h"
#include "wizard/pages/setup_type_page.h"
#include "wizard/wizard_page.h"

namespace {

using platform::ui::Dialog;

constexpr int kDestinationBrowse = 4;
constexpr int kBrowseDialog = 1536;
constexpr int kDriveSpaceDialog = 151;
constexpr const char* kUnticked = "Clip art 2000";
constexpr std::uint32_t kCopyHalfWay = 9 * 1024000;  // of the 18MB chosen

// Sizes in whole megabytes of 1,024,000 bytes, so that the texts are exact:
// Minimum needs 7MB, Typical 17MB, Custom 28MB, the custom choice without the
// 2000 pictures 18MB, and drive C has 12MB free. The descriptions are short,
// as the summary indents them by two tabs.
std::string PictureTablesText() {
  return "[destinations]\n0=QMW2||C:\\QMW2\n1=FONTS|-2|\n"
         "[groups]\n"
         "Main=Main program|The program itself|1|1|1\n"
         "program=Label designer|Designer and help|1|1|1\n"
         "premade=Premade labels|Ready labels|0|0|1\n"
         "Fonts=Fonts|TrueType fonts|0|1|1\n"
         "art600=Clip art 600|600 pictures|0|1|1\n"
         "art2000=Clip art 2000|2000 pictures|0|0|1\n"
         "ustpls=US templates|US label sheets|0|0|0\n"
         "Inttpls=International templates|A4 label sheets|0|0|0\n"
         "[Main]\nQM.EXE=3072000|0|1|1|0|\n"
         "[program]\nQM.HLP=2048000|0|1|1|0|\n"
         "[premade]\nPREMADE.QML=1024000|0|1|1|0|\n"
         "[Fonts]\nLABELS.TTF=4096000|0|1|1|1|\n"
         "[art600]\nART600.QMA=6144000|0|1|1|0|\n"
         "[art2000]\nART2000.QMA=10240000|0|1|1|0|\n"
         "[ustpls]\nUS.QMT=2048000|0|1|1|0|\n"
         "[Inttpls]\nINT.QMT=3072000|0|1|1|0|\n"
         "[diskettes]\n1=Setup Disk 1\n";
}

constexpr const char* kLicence =
    "QUILLMARK 2.0 LICENCE AGREEMENT\r\n"
    "\r\n"
    "You may install and use this program on one computer at a time.\r\n"
    "You may make one copy of the program for backup purposes.\r\n"
    "You may not rent, lease or lend the program to anyone else.\r\n"
    "The labels, pictures and fonts are yours to print, not to resell.\r\n"
    "\r\n"
    "Click Next to accept these terms.\r\n";

// The pictures of the run, in order.
const std::vector<std::string> kPictures{
    "001_132.png", "002_102.png", "003_128.png", "004_104.png", "005_dialog_1536.png",
    "006_125.png", "007_127.png", "008_127.png", "009_dialog_151.png", "010_150.png",
    "011_106.png", "012_152.png", "013_108.png", "014_dialog_143.png", "015_108.png", "016_115.png",
};

class InstallRunPicturesTest : public qmtest::SetupRunTest {
 protected:
  InstallRunPicturesTest() {
    StageMachine();
    SeedStartMenu({"Accessories", "Label Tools", "StartUp"});
    for (const char* folder : {"Program Files", "Labels", "Utilities"}) {
      std::filesystem::create_directories(machine_.DriveC() / folder);
    }
    WriteMedia("SETUP.ini", PictureTablesText());
    WriteMedia("agree.txt", kLicence);
    // The sources at the sizes the tables give, so that the copy runs long
    // enough to be taken half-way.
    const std::pair<const char*, int> sources[] = {{"QM.EXE", 3}, {"QM.HLP", 2},      {"PREMADE.QML", 1},
                                                   {"LABELS.TTF", 4}, {"ART600.QMA", 6}, {"ART2000.QMA", 10},
                                                   {"US.QMT", 2}, {"INT.QMT", 3}};
    for (const auto& [name, megabytes] : sources) WriteMedia(name, std::string(megabytes * 1024000, 'x'));
  }

  // Takes the copying page once its gauge has passed half-way, with the
  // billboard of that moment; the copy handles messages as it goes.
  void TakeCopyHalfWay() {
    qmtest::Later([this] {
      auto* page = dynamic_cast<ProgressPage*>(CurrentPage());
      if (page == nullptr || page->PageId() != 108) return;  // the copy is over
      if (page->Gauge()->Position() < kCopyHalfWay) {
        TakeCopyHalfWay();
        return;
      }
      EXPECT_TRUE(App().Screenshots()->Take(108));
    });
  }

  // Drives C and D of a few hundred megabytes, C nearly full.
  void StageMachine() {
    platform::MachineConfig config = platform::MachineConfig::Defaults(platform::PlatformKind::Win95);
    for (platform::DriveMapping& drive : config.drives) {
      if (drive.letter != 'C') continue;
      drive.freeBytes = 12 * 1024000;
      drive.totalBytes = 520 * 1024000;
    }
    config.drives.push_back(platform::ParseDriveSpec('D', "fixed,drive_d,free=215040000,total=1048576000"));
    platform::Machine::Create(machine_.Root(), config);
    platform::UseMachine(machine_.Root());
  }

  void SeedStartMenu(const std::vector<std::string>& folders) const { qmtest::SeedStartMenu(machine_, folders); }

  // The modal dialog on screen, taken over its page, then cancelled.
  void ExpectDialogTakenAndCancelled(int templateId) {
    ExpectModal([this, templateId](Dialog& dialog) {
      EXPECT_EQ(dialog.TemplateId(), templateId);
      // Closed in any case: a dialog left open would wait for nobody.
      if (PageScreenshots* screenshots = App().Screenshots()) {
        EXPECT_TRUE(screenshots->TakeDialog(dialog.TemplateId()));
      } else {
        ADD_FAILURE() << "no screenshots are being taken";
      }
      dialog.Click(platform::ui::kIdCancel);
    });
  }
};

void Next(WizardPage& page) { page.Click(page_control::kNext); }

// A press and release inside the item's check box, as a person's click.
void ClickCheckBox(WizardPage& page, int item) {
  QWidget* view = qobject_cast<QListWidget*>(page.Item(CustomOptionsPage::kGroupList))->viewport();
  const QPoint at = CheckListBox::CheckBoxRect(page.ListItemRect(CustomOptionsPage::kGroupList, item)).center();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &event);
  }
  QCoreApplication::sendPostedEvents(page.Widget(), 0);  // the page's own WM_CHECK_CHANGED
}

TEST_F(InstallRunPicturesTest, EveryPageAndTheDialogsOfACustomInstallAreTaken) {
  std::optional<qmtest::TempDir> own;
  const char* given = std::getenv(PageScreenshots::kEnvironmentVariable);
  std::filesystem::path directory;
  if (given != nullptr && *given != '\0') {
    directory = given;
  } else {
    own.emplace("qm-run-pictures");
    directory = own->Path();
    setenv(PageScreenshots::kEnvironmentVariable, directory.c_str(), 1);
  }

  Expect(102, Next);
  Expect(128, Next);
  ExpectDialogTakenAndCancelled(kBrowseDialog);
  Expect(104, [](WizardPage& page) {
    page.Click(kDestinationBrowse);
    page.Click(page_control::kNext);
  });
  Expect(125, [](WizardPage& page) {
    EXPECT_EQ(page.ItemText(SetupTypePage::kMinimumSpace), "Space Required: 7MB");
    EXPECT_EQ(page.ItemText(SetupTypePage::kTypicalSpace), "Space Required: 17MB");
    EXPECT_EQ(page.ItemText(SetupTypePage::kCustomSpace), "Space Required: 28MB");
    page.Click(SetupTypePage::kCustomButton);
  });
  ExpectDialogTakenAndCancelled(kDriveSpaceDialog);
  Expect(127, [this](WizardPage& page) {
    int item = 0;
    while (item < page.ListCount(CustomOptionsPage::kGroupList) &&
           page.ListText(CustomOptionsPage::kGroupList, item) != kUnticked) {
      ++item;
    }
    ASSERT_LT(item, page.ListCount(CustomOptionsPage::kGroupList));
    ClickCheckBox(page, item);
    EXPECT_EQ(page.ItemText(CustomOptionsPage::kSpaceRequired), "Space Required:\t 18MB");
    // The page once more, with both states in its list.
    EXPECT_TRUE(App().Screenshots()->Take(page.PageId()));
    page.Click(CustomOptionsPage::kDriveSpace);
    page.Click(page_control::kNext);
  });
  Expect(150, [](WizardPage& page) { page.Click(page_control::kNext); });  // continue anyway
  AnswerDoruror([this](Dialog& dialog) {
    EXPECT_TRUE(App().Screenshots()->TakeDialog(dialog.TemplateId()));
    dialog.Click(platform::ui::kIdCancel);
    TakeCopyHalfWay();
  });
  for (int id : {106, 152, 115}) Expect(id, Next);

  const int status = Run({});
  if (own) unsetenv(PageScreenshots::kEnvironmentVariable);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(shown_, (std::vector<int>{132, 102, 128, 104, 125, 127, 150, 106, 152, 108, 115}));
  EXPECT_EQ(modals_, (std::vector<int>{kBrowseDialog, kDriveSpaceDialog}));
  if (!own) return;  // a directory of the user's may hold other files
  std::vector<std::string> taken;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) taken.push_back(entry.path().filename());
  std::sort(taken.begin(), taken.end());
  EXPECT_EQ(taken, kPictures);
}

}  // namespace
