// The custom options page (127): the check list and its drawing, the space
// the ticks need, the refusals of Next, what Next installs, and the way back.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QListWidget>
#include <QMouseEvent>

#include <string>
#include <vector>

#include "app/setup_app.h"
#include "install/tables/destination_table.h"
#include "install/tables/group_table.h"
#include "platform/ui/resources_access.h"
#include "tests/wizard/space_pages_fixture.h"
#include "wizard/page_chain.h"
#include "wizard/pages/check_list_box.h"
#include "wizard/pages/custom_options_page.h"
#include "wizard/pages/setup_type_page.h"
#include "wizard/wizard_page.h"

namespace {

using qmtest::kPlenty;
using qmtest::Later;
using Page = CustomOptionsPage;

// The list sorts by title.
constexpr int kClipArt = 0;
constexpr int kFonts = 1;
constexpr int kProgram = 2;

QListWidget* ListOf(WizardPage& page) { return qobject_cast<QListWidget*>(page.Item(Page::kGroupList)); }

void Mouse(WizardPage& page, const QPoint& at, QEvent::Type type) {
  QWidget* view = ListOf(page)->viewport();
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
  QCoreApplication::sendEvent(view, &event);
}

// A press inside the item's check box.
void PressBox(WizardPage& page, int item) {
  const QPoint at = CheckListBox::CheckBoxRect(page.ListItemRect(Page::kGroupList, item)).center();
  Mouse(page, at, QEvent::MouseButtonPress);
  Mouse(page, at, QEvent::MouseButtonRelease);
}

// A double-click on the item's title, away from its box.
void DoubleClick(WizardPage& page, int item) {
  const QRect rect = page.ListItemRect(Page::kGroupList, item);
  const QPoint at(rect.right() - 4, rect.center().y());
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                            QEvent::MouseButtonRelease}) {
    Mouse(page, at, type);
  }
}

class CustomOptionsPageTest : public qmtest::SpacePagesTest {
 protected:
  // To the custom options page through the Custom button.
  void ExpectCustomPage(PageStep step) {
    ExpectNextToSetupType();
    Expect(125, [](WizardPage& page) { page.Click(SetupTypePage::kCustomButton); });
    Expect(127, std::move(step));
  }
};

TEST_F(CustomOptionsPageTest, TickingProgramBringsMainPremadeAndTheCountrysTemplates) {
  struct Row {
    const char* country;
    std::int64_t templates;
  };
  for (const Row& row : {Row{"United States", 512000}, Row{"Germany", 768000}}) {
    SCOPED_TRACE(row.country);
    StageMachine(kPlenty, {}, row.country);
    const std::int64_t program = 1024000 + 3072000 + 256000 + row.templates;
    const std::int64_t everything = program + 2048000 + 5120000;
    ExpectCustomPage([this, program, everything](WizardPage& page) {
      ASSERT_EQ(page.ListCount(Page::kGroupList), 3);  // Main and premade are not offered
      EXPECT_EQ(page.ListText(Page::kGroupList, kProgram), "Program files");
      EXPECT_EQ(App().Totals().For(SetupType::Custom).total, everything);
      EXPECT_EQ(page.ItemText(Page::kSpaceRequired), "Space Required:\t " + MegabytesText(everything));

      PressBox(page, kProgram);  // untick
      Later([this, &page, program, everything] {
        EXPECT_EQ(App().Groups().Find("program")->ticked, 0);
        EXPECT_EQ(App().Totals().For(SetupType::Custom).total, everything - program);
        // A double-click on the title toggles the item it selects.
        DoubleClick(page, kProgram);
        Later([this, &page, everything] {
          EXPECT_EQ(App().Groups().Find("program")->ticked, 1);
          EXPECT_EQ(App().Totals().For(SetupType::Custom).total, everything);
          qmtest::PressEscape(page);
        });
      });
    });
    ExpectModal([](platform::ui::Dialog& box) { box.Click(platform::ui::kIdYes); });
    Expect(116, [](WizardPage& page) { page.Click(page_control::kNext); });
    EXPECT_EQ(Run({}), 1);
  }
}

TEST_F(CustomOptionsPageTest, TheListShowsDescriptionsAndDrawsEachBoxWithAnXWhenTicked) {
  StageMachine(kPlenty);
  ExpectCustomPage([](WizardPage& page) {
    EXPECT_EQ(page.ItemText(Page::kDescription), "600 pictures");  // item 0 selected
    ListOf(page)->setCurrentRow(kFonts);
    EXPECT_EQ(page.ItemText(Page::kDescription), "TrueType fonts");
    PressBox(page, kClipArt);  // selects it as any press does, and unticks it
    EXPECT_EQ(page.ItemText(Page::kDescription), "600 pictures");
    Later([&page] {
      const QImage image = ListOf(page)->viewport()->grab().toImage();
      using platform::ui::SysColor;
      struct Row {
        int item;
        SysColor background, ink;
        bool ticked;
      };
      for (Row row : {Row{kClipArt, SysColor::Highlight, SysColor::HighlightText, false},
                      Row{kFonts, SysColor::Window, SysColor::WindowText, true}}) {
        SCOPED_TRACE(row.item);
        const QRect item = page.ListItemRect(Page::kGroupList, row.item);
        const QRect box = CheckListBox::CheckBoxRect(item);
        const int inset = platform::ui::SystemMetric(platform::ui::Metric::CxDlgFrame);
        EXPECT_EQ(box.topLeft(), item.topLeft() + QPoint(inset, inset));
        EXPECT_EQ(box.width(), item.height() - 2 * inset);
        const QColor background = platform::ui::SystemColor(row.background);
        const QColor ink = platform::ui::SystemColor(row.ink);
        EXPECT_EQ(image.pixelColor(item.topLeft()), background);
        EXPECT_EQ(image.pixelColor(box.topLeft()), ink);
        EXPECT_EQ(image.pixelColor(box.center()), row.ticked ? ink : background);
        EXPECT_EQ(image.pixelColor(box.center() + QPoint(0, box.height() / 4)), background);  // off the X
      }
      qmtest::PressEscape(page);
    });
  });
  ExpectModal([](platform::ui::Dialog& box) { box.Click(platform::ui::kIdYes); });
  Expect(116, [](WizardPage& page) { page.Click(page_control::kNext); });
  EXPECT_EQ(Run({}), 1);
}

TEST_F(CustomOptionsPageTest, NextRefusesADisketteAnEmptyChoiceAndAFullDrive) {
  struct Row {
    const char* destination;
    bool untickAll;
    int message;  // 0: accepted
  };
  const Row rows[] = {
      {"A:\\QMW2", false, 26},  // a 1.44 MB diskette
      {"B:\\QMW2", false, 0},   // a larger removable drive with space
      {"C:\\QMW2", true, 28},
      {"E:\\QMW2", false, 7},   // no byte free
  };
  StageMachine(kPlenty, {Removable('A', 1474560, 1000000), Removable('B', 100000000, kPlenty), Fixed('E', 0)});
  for (const Row& row : rows) {
    SCOPED_TRACE(row.destination);
    ExpectCustomPage([this, &row](WizardPage& page) {
      page.SetItemText(Page::kDestination, row.destination);
      if (row.untickAll) {
        for (int item : {kClipArt, kFonts, kProgram}) PressBox(page, item);
      }
      page.Click(page_control::kNext);
      if (row.message == 0) return;
      // The user stays, and nothing was taken over.
      EXPECT_EQ(CurrentPage(), &page);
      EXPECT_EQ(App().Destinations().PathOf(0), "C:\\QMW2");
      EXPECT_TRUE(InstalledGroups().empty());
      qmtest::PressEscape(page);
    });
    if (row.message != 0) {
      ExpectMessage(row.message);
      ExpectModal([](platform::ui::Dialog& box) { box.Click(platform::ui::kIdYes); });
      Expect(116, [](WizardPage& page) { page.Click(page_control::kNext); });
    } else {
      ExpectCancelOn(106, [this](WizardPage&) { EXPECT_EQ(App().Destinations().PathOf(1), "C:\\WINDOWS\\FONTS"); });
    }
    EXPECT_EQ(Run({}), 1);
  }
}

TEST_F(CustomOptionsPageTest, NextInstallsTheTickedGroupsAndChecksTheirSpace) {
  struct Row {
    const char* what;
    bool untickProgram;
    std::uint64_t cFree;
    std::vector<std::string> installed;
    SpaceParts custom;  // after Next
    int nextPage;
  };
  const Row rows[] = {
      {"program brings premade and the templates", false, kPlenty,
       {"Main", "program", "Fonts", "art600", "premade", "ustpls"},
       {12032000, 9984000, 2048000},
       106},
      {"without program only Main comes along", true, kPlenty,
       {"Main", "Fonts", "art600"},
       {10240000, 8192000, 2048000},
       106},
      {"too little room", true, 10239999, {"Main", "Fonts", "art600"}, {10240000, 8192000, 2048000}, 150},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    StageMachine(row.cFree);
    shown_.clear();
    ExpectCustomPage([&row](WizardPage& page) {
      page.SetItemText(Page::kDestination, "c:\\apps\\labels");
      if (row.untickProgram) PressBox(page, kProgram);
      Later([&page] { page.Click(page_control::kNext); });
    });
    ExpectCancelOn(row.nextPage, [this, &row](WizardPage&) {
      EXPECT_EQ(App().Destinations().PathOf(0), "c:\\apps\\labels");
      EXPECT_EQ(App().Destinations().PathOf(1), "C:\\WINDOWS\\FONTS");
      EXPECT_EQ(InstalledGroups(), row.installed);
      const SpaceParts& custom = App().Totals().For(SetupType::Custom);
      EXPECT_EQ(custom.total, row.custom.total);
      EXPECT_EQ(custom.underInstall, row.custom.underInstall);
      EXPECT_EQ(custom.underWindows, row.custom.underWindows);
    });
    EXPECT_EQ(Run({}), 1);
    EXPECT_EQ(shown_.at(shown_.size() - 2), row.nextPage);
  }
}

TEST_F(CustomOptionsPageTest, BackLeadsToTheSetupTypeWhoseButtonsOverwriteTheCustomChoice) {
  StageMachine(kPlenty);
  ExpectCustomPage([](WizardPage& page) {
    PressBox(page, kProgram);
    PressBox(page, kFonts);
    Later([&page] { page.Click(page_control::kNext); });
  });
  Expect(106, [this](WizardPage& page) {
    EXPECT_EQ(InstalledGroups(), (std::vector<std::string>{"Main", "art600"}));
    page.Click(page_control::kBack);
  });
  Expect(125, [](WizardPage& page) { page.Click(SetupTypePage::kCustomButton); });
  Expect(127, [this](WizardPage& page) {
    // Everything is ticked again, and the space shown is that of the ticks.
    EXPECT_EQ(App().Groups().Find("Fonts")->ticked, 1);
    EXPECT_EQ(page.ItemText(Page::kSpaceRequired), "Space Required:\t " + MegabytesText(qmtest::kEverythingTicked));
    page.Click(page_control::kBack);
  });
  Expect(125, [](WizardPage& page) { page.Click(SetupTypePage::kTypicalButton); });
  ExpectCancelOn(106, [this](WizardPage&) {
    EXPECT_EQ(InstalledGroups(), (std::vector<std::string>{"Main", "program", "Fonts"}));
    EXPECT_EQ(App().ChosenSetupType(), SetupType::Typical);
  });
  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(shown_, (std::vector<int>{132, 102, 128, 104, 125, 127, 106, 125, 127, 125, 106, 116}));
}

}  // namespace
