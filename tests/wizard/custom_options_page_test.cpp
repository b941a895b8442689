// The custom options page (127): the check list and its drawing, the space
// the ticks need, the refusals of Next, what Next installs, and the way back.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QListWidget>
#include <QMouseEvent>

#include <string>
#include <vector>

#include "app/setup_app.h"
#include "install/errors/string_table.h"
#include "install/tables/destination_table.h"
#include "platform/ui/message_box.h"
#include "platform/ui/resources_access.h"
#include "tests/wizard/space_pages_fixture.h"
#include "wizard/pages/check_list_box.h"
#include "wizard/pages/custom_options_page.h"
#include "wizard/pages/setup_type_page.h"

namespace {

using qmtest::kPlenty;
using Page = CustomOptionsPage;

// The list sorts by title.
constexpr int kClipArt = 0;
constexpr int kFonts = 1;
constexpr int kProgram = 2;

QListWidget* ListOf(WizardPage& page) { return qobject_cast<QListWidget*>(page.Item(Page::kGroupList)); }

void Mouse(WizardPage& page, const QPoint& at, std::initializer_list<QEvent::Type> types) {
  QWidget* view = ListOf(page)->viewport();
  for (QEvent::Type type : types) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &event);
  }
}

// A click inside the item's check box.
void ClickBox(WizardPage& page, int item) {
  const QPoint at = CheckListBox::CheckBoxRect(page.ListItemRect(Page::kGroupList, item)).center();
  Mouse(page, at, {QEvent::MouseButtonPress, QEvent::MouseButtonRelease});
}

// A double-click on the item's title, away from its box.
void DoubleClick(WizardPage& page, int item) {
  const QRect rect = page.ListItemRect(Page::kGroupList, item);
  Mouse(page, QPoint(rect.right() - 4, rect.center().y()),
        {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
         QEvent::MouseButtonRelease});
}

// What the page has posted to itself (WM_CHECK_CHANGED), handled now.
void Settle(WizardPage& page) { QCoreApplication::sendPostedEvents(page.Widget(), 0); }

class CustomOptionsPageTest : public qmtest::SpacePagesTest {
 protected:
  // To the custom options page through the Custom button.
  void ExpectCustomPage(PageStep step) {
    ExpectNextToSetupType();
    Expect(125, [](WizardPage& page) { page.Click(SetupTypePage::kCustomButton); });
    Expect(127, std::move(step));
  }
  // check on the custom options page, then Cancel.
  void ExpectOnCustomPage(PageStep check) {
    ExpectNextToSetupType();
    Expect(125, [](WizardPage& page) { page.Click(SetupTypePage::kCustomButton); });
    ExpectCancelOn(127, std::move(check));
  }
  std::int32_t CustomTotal() { return App().Totals().For(SetupType::Custom).total; }
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
    ExpectOnCustomPage([&](WizardPage& page) {
      ASSERT_EQ(page.ListCount(Page::kGroupList), 3);  // Main and premade are not offered
      EXPECT_EQ(CustomTotal(), everything);
      EXPECT_EQ(page.ItemText(Page::kSpaceRequired), "Space Required:\t " + MegabytesText(everything));
      ClickBox(page, kProgram);
      Settle(page);
      EXPECT_EQ(CustomTotal(), everything - program);
      // A double-click on the title toggles the item it selects.
      DoubleClick(page, kProgram);
      Settle(page);
      EXPECT_EQ(CustomTotal(), everything);
    });
    EXPECT_EQ(Run({}), 1);
  }
}

TEST_F(CustomOptionsPageTest, TheListShowsDescriptionsAndDrawsEachBoxWithAnXWhenTicked) {
  StageMachine(kPlenty);
  ExpectOnCustomPage([](WizardPage& page) {
    EXPECT_EQ(page.ItemText(Page::kDescription), "600 pictures");  // item 0 selected
    ListOf(page)->setCurrentRow(kFonts);
    EXPECT_EQ(page.ItemText(Page::kDescription), "TrueType fonts");
    ClickBox(page, kClipArt);  // selects it as any press does, and unticks it
    EXPECT_EQ(page.ItemText(Page::kDescription), "600 pictures");
    Settle(page);

    const QImage image = ListOf(page)->viewport()->grab().toImage();
    const int inset = platform::ui::SystemMetric(platform::ui::Metric::CxDlgFrame);
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
      EXPECT_EQ(box, QRect(item.topLeft() + QPoint(inset, inset), QSize(1, 1) * (item.height() - 2 * inset)));
      const QColor background = platform::ui::SystemColor(row.background);
      const QColor ink = platform::ui::SystemColor(row.ink);
      EXPECT_EQ(image.pixelColor(item.topLeft()), background);
      EXPECT_EQ(image.pixelColor(box.topLeft()), ink);
      EXPECT_EQ(image.pixelColor(box.center()), row.ticked ? ink : background);  // where the diagonals cross
      EXPECT_EQ(image.pixelColor(box.center() + QPoint(0, box.height() / 4)), background);
    }
  });
  EXPECT_EQ(Run({}), 1);
}

TEST_F(CustomOptionsPageTest, NextRefusesADisketteAnEmptyChoiceAndAFullDrive) {
  struct Row {
    const char* destination;
    bool untickAll;
    unsigned message;  // 0: accepted
  };
  StageMachine(kPlenty, {Removable('A', 1474560, 1000000), Removable('B', 100000000, kPlenty), Fixed('E', 0)});
  for (Row row : {Row{"A:\\QMW2", false, 26}, Row{"B:\\QMW2", false, 0}, Row{"C:\\QMW2", true, 28},
                  Row{"E:\\QMW2", false, 7}}) {
    SCOPED_TRACE(row.destination);
    ExpectCustomPage([this, row](WizardPage& page) {
      page.SetItemText(Page::kDestination, row.destination);
      if (row.untickAll) {
        for (int item : {kClipArt, kFonts, kProgram}) ClickBox(page, item);
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
      ExpectModal([row](platform::ui::Dialog& box) {
        EXPECT_EQ(box.ItemText(platform::ui::kMessageBoxTextId), LoadStringText(row.message));
        EXPECT_EQ(box.Text(), "Quillmark 2.0 Setup");
        box.Click(platform::ui::kIdOk);
      });
      ExpectCancelled();
    } else {
      ExpectCancelOn(106);
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
    SpaceParts custom;  // total, install part, Windows part
    int nextPage;
  };
  const Row rows[] = {
      {"program brings premade and the templates", false, kPlenty,
       {"Main", "program", "Fonts", "art600", "premade", "ustpls"}, {12032000, 9984000, 2048000}, 106},
      {"without program only Main comes along", true, kPlenty, {"Main", "Fonts", "art600"},
       {10240000, 8192000, 2048000}, 106},
      {"a byte too little", true, 10239999, {"Main", "Fonts", "art600"}, {10240000, 8192000, 2048000}, 150},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    StageMachine(row.cFree);
    shown_.clear();
    ExpectCustomPage([&row](WizardPage& page) {
      page.SetItemText(Page::kDestination, "c:\\apps\\labels");
      if (row.untickProgram) ClickBox(page, kProgram);
      // At once: the tick's message to the page comes after Next.
      page.Click(page_control::kNext);
    });
    ExpectCancelOn(row.nextPage, [this, &row](WizardPage&) {
      EXPECT_EQ(App().Destinations().PathOf(0), "C:\\apps\\labels");
      EXPECT_EQ(App().Destinations().PathOf(1), "C:\\WINDOWS\\FONTS");
      EXPECT_EQ(InstalledGroups(), row.installed);
      const SpaceParts& custom = App().Totals().For(SetupType::Custom);
      EXPECT_EQ(std::vector<int>({custom.total, custom.underInstall, custom.underWindows}),
                std::vector<int>({row.custom.total, row.custom.underInstall, row.custom.underWindows}));
    });
    EXPECT_EQ(Run({}), 1);
    EXPECT_EQ(shown_.at(shown_.size() - 2), row.nextPage);
  }
}

TEST_F(CustomOptionsPageTest, BackLeadsToTheSetupTypeWhoseButtonsOverwriteTheCustomChoice) {
  StageMachine(kPlenty);
  ExpectCustomPage([](WizardPage& page) {
    ClickBox(page, kProgram);
    ClickBox(page, kFonts);
    page.Click(page_control::kNext);
  });
  Expect(106, [this](WizardPage& page) {
    EXPECT_EQ(InstalledGroups(), (std::vector<std::string>{"Main", "art600"}));
    page.Click(page_control::kBack);
  });
  Expect(125, [](WizardPage& page) { page.Click(SetupTypePage::kCustomButton); });
  Expect(127, [](WizardPage& page) {
    // Everything is ticked again, and the space shown is that of the ticks.
    EXPECT_EQ(page.ItemText(Page::kSpaceRequired), "Space Required:\t " + MegabytesText(qmtest::kEverythingTicked));
    page.Click(page_control::kBack);
  });
  Expect(125, [](WizardPage& page) { page.Click(SetupTypePage::kTypicalButton); });
  ExpectCancelOn(106, [this](WizardPage&) {
    EXPECT_EQ(InstalledGroups(), (std::vector<std::string>{"Main", "program", "Fonts"}));
  });
  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(shown_, (std::vector<int>{132, 102, 128, 104, 125, 127, 106, 125, 127, 125, 106, 116}));
}

}  // namespace
