// Whole runs through the page chain, driven by control ids: Next through the
// install and removal chains, the ways back, Cancel, a page action that
// fails, and batch runs that nobody drives.

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/setup_app.h"
#include "install/errors/string_table.h"
#include "install/tables/destination_table.h"
#include "install/tables/group_table.h"
#include "platform/machine/machine.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/messages.h"
#include "resources/resource.h"
#include "tests/common/setup_app_fixture.h"
#include "wizard/page_chain.h"
#include "wizard/pages/picture_page.h"
#include "wizard/wizard_page.h"

namespace {

using platform::ui::Dialog;
using qmtest::Later;
using qmtest::PageOnScreen;
using qmtest::PressEscape;

constexpr int kNext = page_control::kNext;
constexpr int kCancel = page_control::kCancel;
constexpr int kBack = page_control::kBack;

const std::vector<int> kInstallChain{132, 102, 128, 104, 125, 106, 152, 108, 115};

void Next(WizardPage& page) { page.Click(kNext); }
void Back(WizardPage& page) { page.Click(kBack); }

class PageChainTest : public qmtest::SetupRunTest {
 protected:
  // Next on every page of the install run; the copying page moves on by itself.
  void ExpectNextThroughInstall() {
    for (int id : {102, 128, 104, 125, 106, 152}) Expect(id, Next);
  }

  // The question of Cancel, answered.
  void ExpectCancelQuestion(int answer) {
    ExpectModal([answer](Dialog& box) {
      EXPECT_EQ(box.ItemText(platform::ui::kMessageBoxTextId), LoadStringText(5));
      EXPECT_EQ(box.Text(), "Quillmark 2.0 Setup");
      box.Click(answer);
    });
  }

  // Cancel confirmed from the page on screen: page 116, whose OK ends the run.
  void ExpectCancelledEnd() {
    ExpectCancelQuestion(platform::ui::kIdYes);
    Expect(116, [this](WizardPage& page) {
      EXPECT_TRUE(App().IsCancelled());
      page.Click(kNext);
    });
  }

  void WriteLog(const std::string& text) const {
    qmtest::WriteFileText(machine_.DriveC() / "WINDOWS" / "Qmw.log", text);
  }
};

TEST_F(PageChainTest, NextLeadsThroughTheInstallChainAndFinishEndsTheRun) {
  std::vector<int> previousIds;
  watch_ = [&](WizardPage& page, PagePhase phase) {
    if (phase != PagePhase::Shown) return;
    previousIds.push_back(page.PreviousPageId());
    // The page before has gone once this one is on screen.
    EXPECT_TRUE(page.IsVisible());
    EXPECT_EQ(PreviousPage() == nullptr || !PreviousPage()->IsCreated(), true) << page.PageId();
  };
  ExpectNextThroughInstall();
  Expect(115, [this](WizardPage& page) {
    // The splash page loaded the tables before the welcome page came, and the
    // destination page built the paths under the install directory.
    EXPECT_EQ(App().Destinations().PathOf(1), "C:\\QMW2\\FONTS");
    EXPECT_NE(App().Groups().Find("Main"), nullptr);
    EXPECT_FALSE(App().International());
    EXPECT_EQ(page.ItemText(kNext), "&Finish");
    page.Click(kNext);
  });

  EXPECT_EQ(Run({}), 0);
  EXPECT_EQ(shown_, kInstallChain);
  EXPECT_EQ(previousIds, (std::vector<int>{0, 132, 102, 128, 104, 125, 106, 152, 108}));
  EXPECT_TRUE(modals_.empty());
  EXPECT_EQ(CurrentPage(), nullptr);
}

TEST_F(PageChainTest, EscapeOnAClosingPageCancelsNothing) {
  ExpectNextThroughInstall();
  Expect(115, [this](WizardPage& page) {
    // A completed install is not turned into "not properly installed".
    PressEscape(page);
    EXPECT_EQ(CurrentPage(), &page);
    EXPECT_FALSE(App().IsCancelled());
    page.Click(kNext);
  });
  EXPECT_EQ(Run({}), 0);
  EXPECT_TRUE(modals_.empty());

  // Nor is a cancelled one asked again on its last page.
  shown_.clear();
  Expect(102, PressEscape);
  ExpectCancelQuestion(platform::ui::kIdYes);
  Expect(116, [](WizardPage& page) {
    PressEscape(page);
    EXPECT_EQ(CurrentPage(), &page);
    page.Click(kNext);
  });
  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(shown_, (std::vector<int>{132, 102, 116}));
}

TEST_F(PageChainTest, TheSplashSetsTheSpaceTotalsAndTheInternationalFlagFromTheCountry) {
  platform::MachineConfig config = platform::MachineConfig::Defaults(platform::PlatformKind::Win95);
  config.country = "Germany";
  platform::Machine::Create(machine_.Root(), config);
  platform::UseMachine(machine_.Root());
  Expect(102, [this](WizardPage& page) {
    EXPECT_TRUE(App().International());
    // Main and program (3,072,000 + 1,024,000) and the international templates.
    EXPECT_EQ(App().Totals().For(SetupType::Typical).total, 3072000 + 1024000 + 4096000);
    EXPECT_EQ(App().Groups().Find("Main")->customFlag, 0);  // installed with "program", not offered
    PressEscape(page);
  });
  ExpectCancelledEnd();
  EXPECT_EQ(Run({}), 1);
}

TEST_F(PageChainTest, ARemovalRunReadsTheLogAsItsTablesFileAndEndsAfterItsLastPage) {
  RemoveMedia("SETUP.ini");  // a removal has no use for the media's tables
  WriteLog("[destinations]\n0=QMW2||C:\\APPS\\QMW2\n"
           "[groups]\nMain=Main program|The program itself|1|1|1\n"
           "[Main]\nQM.EXE=100|0|1|1|0|\n");
  Expect(1545, [](WizardPage& page) {
    EXPECT_EQ(page.ItemText(kNext), "&Continue");
    page.Click(kNext);
  });
  Expect(1547, [this](WizardPage& page) {
    EXPECT_EQ(App().Destinations().PathOf(0), "C:\\APPS\\QMW2");
    EXPECT_NE(App().Groups().Find("Main"), nullptr);
    page.Click(kNext);
  });

  WriteMedia("unsetup.exe", "the removal program");
  qmtest::WriteFileText(machine_.DriveC() / "unsetup.exe", "another program's");
  // /D names the directory with or without its closing backslash.
  EXPECT_EQ(Run({"/U", "/D:C:\\MEDIA"}), 0);
  EXPECT_EQ(shown_, (std::vector<int>{1545, 114, 1546, 1547}));
  // The reading and removal pages go on by themselves.
  EXPECT_EQ(waited_, (std::vector<int>{1545, 1547}));
  // The finish: the removal program goes from the source directory, and
  // "remove.pif" beside the setup program takes over.
  EXPECT_FALSE(std::filesystem::exists(Media() / "unsetup.exe"));
  EXPECT_TRUE(std::filesystem::exists(machine_.DriveC() / "unsetup.exe"));
  EXPECT_EQ(handOvers_, std::vector<std::string>{"C:\\MEDIA\\remove.pif"});
}

TEST_F(PageChainTest, WithoutALogTheRemovalStillRunsTheProfilesRemovalCommands) {
  WriteMedia("cv_setup.ini", "[Execute]\nCommand=C:\\MEDIA\\MARK.BAT\narg=MARK\noption=-1\n");
  WriteMedia("MARK.BAT", "#!/bin/sh\ntouch \"$(dirname \"$0\")/MARKED\"\n");
  Expect(1545, [](WizardPage& page) { page.Click(kNext); });
  Expect(1547, [](WizardPage& page) { page.Click(kNext); });
  EXPECT_EQ(Run({"/U"}), 0);
  EXPECT_TRUE(std::filesystem::exists(Media() / "MARKED"));
}

TEST_F(PageChainTest, BackGoesToTheFixedPageOfEachPage) {
  for (int id : {102, 128, 104, 125, 106}) Expect(id, Next);
  // 152 -> 106 -> 125 -> 104 -> 128 -> 102, whatever came before.
  for (int id : {152, 106, 125, 104, 128}) Expect(id, Back);
  Expect(102, [](WizardPage& page) {
    // The page handler of the setup type's Custom button leads to 127.
    page.SetNextPageId(127);
    page.NextPage();
  });
  Expect(127, Back);
  Expect(125, PressEscape);
  ExpectCancelledEnd();

  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(shown_, (std::vector<int>{132, 102, 128, 104, 125, 106, 152, 106, 125, 104, 128, 102, 127, 125, 116}));
}

TEST_F(PageChainTest, BackWithoutAFixedPageReturnsToThePageBeforeNotTheTablesPredecessor) {
  for (int id : {102, 128, 104, 125, 106}) Expect(id, Next);
  Expect(152, [](WizardPage&) { GoToPage(102); });  // as a page handler may
  Expect(102, [](WizardPage& page) {
    page.Click(kBack);  // disabled in the template: nothing happens
    EXPECT_EQ(CurrentPage(), &page);
    EXPECT_EQ(page.PreviousPageId(), 152);
    page.EnableItem(kBack, true);
    page.Click(kBack);
  });
  Expect(152, PressEscape);
  ExpectCancelledEnd();

  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(shown_, (std::vector<int>{132, 102, 128, 104, 125, 106, 152, 102, 152, 116}));
}

TEST_F(PageChainTest, ASkippedPageIsNeverShownAndThePageBeforeItStaysTheBackTarget) {
  WizardPage* reading = nullptr;
  watch_ = [&](WizardPage& page, PagePhase phase) {
    if (phase != PagePhase::Shown) return;
    if (page.PageId() == 114) reading = &page;
    if (page.PageId() == 104 && reading != nullptr) {
      // 1537 was skipped: 114 stayed on screen until 104 came.
      EXPECT_EQ(page.PreviousPageId(), 114);
      EXPECT_EQ(PreviousPage(), reading);
      EXPECT_FALSE(reading->IsCreated());
      reading = nullptr;
    }
  };
  Expect(102, [](WizardPage&) { GoToPage(114); });  // the reading page of an install run leads to 1537
  Expect(104, Back);                                // fixed: the licence, not 114
  Expect(128, PressEscape);
  ExpectCancelledEnd();

  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(shown_, (std::vector<int>{132, 102, 114, 104, 128, 116}));
}

TEST_F(PageChainTest, CancelAnsweredNoStaysAndYesEndsOnTheNotInstalledPage) {
  Expect(102, Next);
  Expect(128, [this](WizardPage& page) {
    page.Click(kCancel);
    // Answered No: nothing changed.
    EXPECT_EQ(CurrentPage(), &page);
    EXPECT_FALSE(App().IsCancelled());
    page.Click(kCancel);
  });
  ExpectCancelQuestion(platform::ui::kIdNo);
  ExpectCancelledEnd();

  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(shown_, (std::vector<int>{132, 102, 128, 116}));
  EXPECT_EQ(modals_, (std::vector<int>{modals_.front(), modals_.front()}));
}

TEST_F(PageChainTest, NextPressedTwiceBeforeTheNextPageIsShownLeavesOnePageOnScreen) {
  Expect(102, [](WizardPage& page) {
    page.Click(kNext);
    page.Click(kNext);  // the licence page has not been shown yet
  });
  Expect(128, [this](WizardPage& page) {
    int pagesOnScreen = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->isVisible() && widget != App().MainWnd()->Widget()) ++pagesOnScreen;
    }
    EXPECT_EQ(pagesOnScreen, 1);
    EXPECT_TRUE(page.IsVisible());
    PressEscape(page);
  });
  ExpectCancelledEnd();

  EXPECT_EQ(Run({}), 1);
  // The licence page left before it was shown took no step of its own.
  EXPECT_EQ(shown_, (std::vector<int>{132, 102, 128, 116}));
}

TEST_F(PageChainTest, ACancelConfirmedWhileTheTablesLoadIsNotOvertakenByTheSplashsNextPage) {
  // Pressed while the splash page is on screen: its action handles the key
  // between two tables.
  started_ = [] { Later([] { PressEscape(*CurrentPage()); }); };
  ExpectCancelledEnd();

  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(shown_, (std::vector<int>{132, 116}));
}

TEST_F(PageChainTest, ADamagedTablesFileIsReportedAndTheRunGoesOn) {
  // A table without destinations fails on loading; parents in a cycle only
  // once the install directory is chosen and the paths are built.
  struct Case {
    std::string tables;
    int failingPage;
    std::vector<int> shown;
  };
  const std::vector<Case> damaged{
      {"[groups]\nMain=Main|M|1|1|1\n", 132, {132, 116}},
      {"[destinations]\n0=QMW2||C:\\QMW2\n1=A|2|\n2=B|1|\n[groups]\n", 104, {132, 102, 128, 104, 116}},
  };
  for (const Case& row : damaged) {
    SCOPED_TRACE(row.tables);
    WriteMedia("SETUP.ini", row.tables);
    if (row.failingPage == 104) {
      for (int id : {102, 128, 104}) Expect(id, Next);
    }
    ExpectModal([&row](Dialog& report) {
      EXPECT_EQ(report.TemplateId(), IDD_ERROR_REPORT);
      EXPECT_EQ(report.ItemText(IDC_REPORT_CONTEXT), "Setup cannot continue");
      EXPECT_NE(report.ItemText(IDC_REPORT_INFO).find("CInstallProfileException"), std::string::npos);
      EXPECT_FALSE(report.HasItem(platform::ui::kIdCancel) && report.IsItemVisible(platform::ui::kIdCancel));
      // The message loop goes on: the page stays, and Escape still cancels.
      Later([&row] {
        if (WizardPage* page = PageOnScreen(row.failingPage)) {
          EXPECT_TRUE(page->IsVisible());
          PressEscape(*page);
        }
      });
      report.Click(platform::ui::kIdOk);
    });
    ExpectCancelledEnd();
    shown_.clear();

    EXPECT_EQ(Run({}), 1);
    EXPECT_EQ(shown_, row.shown);
  }
}

TEST_F(PageChainTest, ABatchRunGoesToTheEndByItselfWithoutShowingAPage) {
  watch_ = [](WizardPage& page, PagePhase phase) {
    if (phase == PagePhase::Shown) {
      EXPECT_TRUE(page.ClientRect().isEmpty()) << page.PageId();
    }
  };
  EXPECT_EQ(Run({"/B"}), 0);
  EXPECT_EQ(shown_, kInstallChain);
  EXPECT_EQ(waited_, (std::vector<int>{102, 128, 104, 125, 106, 152, 115}));
  EXPECT_TRUE(modals_.empty());
}

TEST_F(PageChainTest, TheRemainingPagesOfTheTable) {
  Expect(102, [](WizardPage& page) {
    struct Row {
      int id, next, back;
    };
    constexpr int kPrevious = PicturePage::kBackToPrevious;
    for (Row row : {Row{127, 106, 125}, Row{150, 106, kPrevious}, Row{114, 1537, 128}, Row{128, 104, 102},
                    Row{1537, 104, kPrevious}}) {
      auto created = CreatePage(row.id);
      ASSERT_NE(created, nullptr) << row.id;
      EXPECT_EQ(created->NextPageId(), row.next) << row.id;
      auto* picture = dynamic_cast<PicturePage*>(created.get());
      ASSERT_NE(picture, nullptr) << row.id;
      EXPECT_EQ(picture->BackPageId(), row.back) << row.id;
      EXPECT_EQ(created->ShouldShowPage(), row.id != 1537) << row.id;
    }
    EXPECT_EQ(CreatePage(999), nullptr);
    PressEscape(page);
  });
  ExpectCancelledEnd();
  EXPECT_EQ(Run({}), 1);
}

TEST_F(PageChainTest, InUninstallModeTheLicenceAndTheReadingPageLeadToTheRemoval) {
  WriteLog("[destinations]\n0=QMW2||C:\\QMW2\n");
  Expect(1545, [](WizardPage& page) {
    EXPECT_EQ(CreatePage(128)->NextPageId(), 1546);
    EXPECT_EQ(CreatePage(114)->NextPageId(), 1546);
    PressEscape(page);
  });
  ExpectCancelledEnd();
  WriteMedia("unsetup.exe", "the removal program");
  EXPECT_EQ(Run({"/U"}), 1);
  // A removal that did not run keeps the way to run it later.
  EXPECT_TRUE(std::filesystem::exists(Media() / "unsetup.exe"));
  EXPECT_TRUE(handOvers_.empty());
}

}  // namespace
