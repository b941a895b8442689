// The licence page, the destination page and the directory browse dialog,
// driven by control id in whole runs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/setup_app.h"
#include "install/errors/string_table.h"
#include "install/tables/destination_table.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"
#include "resources/resource.h"
#include "tests/common/setup_app_fixture.h"
#include "tests/wizard/plain_pages_test_support.h"
#include "wizard/page_chain.h"

namespace {

using platform::ui::Dialog;
using qmtest::Next;
using qmtest::PressEscape;

constexpr int kLicenceText = 1016;
constexpr int kDirectory = 1001;
constexpr int kBrowse = 4;
constexpr int kLocation = 1002;
constexpr int kNewSubdirectory = 1003;
constexpr int kCurrentDirectory = 1088;
constexpr int kDirectoryList = 1121;
constexpr int kDriveList = 1137;

class PlainPagesTest : public qmtest::SetupRunTest {
 protected:
  void ExpectCancelledEnd() {
    ExpectModal([](Dialog& box) { box.Click(platform::ui::kIdYes); });
    Expect(116, Next);
  }

  // A page message: its string, the title, OK.
  void ExpectPageMessage(unsigned stringId) {
    ExpectModal([stringId](Dialog& box) {
      EXPECT_EQ(box.ItemText(platform::ui::kMessageBoxTextId), LoadStringText(stringId));
      EXPECT_EQ(box.Text(), "Quillmark 2.0 Setup");
      box.Click(platform::ui::kIdOk);
    });
  }

  void MakeHostDirectory(const std::string& relative) const {
    std::filesystem::create_directories(machine_.DriveC() / relative);
  }
};

// --- licence (128) --------------------------------------------------------

TEST_F(PlainPagesTest, TheLicenceShowsTheWholeFileWithItsLineEnds) {
  // Longer than one read, so that no piece is lost between reads.
  std::string licence = "QUILLMARK 2.0 LICENCE\r\n\r\n";
  for (int i = 0; i < 300; ++i) licence += "Clause " + std::to_string(i) + ": the user may print labels.\r\n";
  WriteMedia("agree.txt", licence);
  Expect(102, Next);
  Expect(128, [licence](WizardPage& page) {
    EXPECT_EQ(page.ItemText(kLicenceText), licence);
    PressEscape(page);
  });
  ExpectCancelledEnd();
  EXPECT_EQ(Run({}), 1);
}

TEST_F(PlainPagesTest, AMissingLicenceIsReportedAsAFileErrorAndTheWelcomePageStays) {
  RemoveMedia("agree.txt");
  Expect(102, Next);
  ExpectModal([](Dialog& report) {
    EXPECT_EQ(report.TemplateId(), IDD_ERROR_REPORT);
    EXPECT_NE(report.ItemText(IDC_REPORT_INFO).find("CXFileException"), std::string::npos);
    // Once the report is closed, the welcome page still leads on.
    qmtest::Later([] {
      if (WizardPage* welcome = qmtest::PageOnScreen(102)) {
        EXPECT_TRUE(welcome->IsVisible());
        PressEscape(*welcome);
      }
    });
    report.Click(platform::ui::kIdOk);
  });
  ExpectCancelledEnd();
  EXPECT_EQ(Run({}), 1);
  EXPECT_EQ(shown_, (std::vector<int>{132, 102, 116}));
}

// --- destination (104) ----------------------------------------------------

TEST_F(PlainPagesTest, TheDestinationOffersTheInstallDirectoryOrADefaultOnTheFirstFixedDrive) {
  struct Row {
    std::string line;  // destination 0 in the tables file
    std::string offered;
  };
  const std::vector<Row> rows{
      {"0=QMW2||C:\\APPS\\QMW2", "C:\\APPS\\QMW2"},
      {"0=QMW2||", "C:\\QMW2"},
      {"0=\\LABELS||", "C:\\LABELS"},
  };
  // Drive A: comes before C: but is no fixed disk.
  qmtest::StageDrives(machine_.Root(), {{'A', "removable,drive_a,total=1474560"}});
  for (const Row& row : rows) {
    SCOPED_TRACE(row.line);
    WriteMedia("SETUP.ini", "[destinations]\n" + row.line + "\n1=FONTS|0|\n[groups]\n");
    Expect(102, Next);
    Expect(128, Next);
    Expect(104, [&row](WizardPage& page) {
      EXPECT_EQ(page.ItemText(kDirectory), row.offered);
      PressEscape(page);
    });
    ExpectCancelledEnd();
    EXPECT_EQ(Run({}), 1);
  }
}

TEST_F(PlainPagesTest, TheDestinationRefusesDiskettesAndFullDrivesAndBuildsThePathsOfAnAcceptedOne) {
  qmtest::StageDrives(machine_.Root(), {{'A', "removable,drive_a,free=1000000,total=1474560"},
                                        {'E', "removable,drive_e,free=0,total=1474561"},
                                        {'F', "fixed,drive_f,free=0,total=500000000"},
                                        {'G', "removable,drive_g,free=50000000,total=100000000"}});
  struct Row {
    std::string directory;
    unsigned message;
  };
  const std::vector<Row> refused{
      {"A:\\QMW2", 26},  // a 1.44 MB diskette, even with room on it
      {"E:\\QMW2", 7},   // larger than a diskette, but full
      {"F:\\QMW2", 7},
      {"", 7},            // no directory at all
  };
  for (const Row& row : refused) ExpectPageMessage(row.message);
  Expect(102, Next);
  Expect(128, Next);
  Expect(104, [this, &refused](WizardPage& page) {
    for (const Row& row : refused) {
      SCOPED_TRACE(row.directory);
      page.SetItemText(kDirectory, row.directory);
      page.Click(page_control::kNext);
      EXPECT_EQ(CurrentPage(), &page);
      EXPECT_EQ(App().Destinations().PathOf(0), "C:\\QMW2");
    }
    // A larger removable drive with room is accepted, the path made full.
    page.SetItemText(kDirectory, "g:\\LABELS\\OLD\\..\\QMW2");
    page.Click(page_control::kNext);
  });
  Expect(125, [this](WizardPage& page) {
    EXPECT_EQ(App().Destinations().PathOf(0), "G:\\LABELS\\QMW2");
    EXPECT_EQ(App().Destinations().PathOf(1), "G:\\LABELS\\QMW2\\FONTS");
    EXPECT_EQ(App().Destinations().Find(0)->relativeName, "QMW2");
    PressEscape(page);
  });
  ExpectCancelledEnd();
  EXPECT_EQ(Run({}), 1);
}

TEST_F(PlainPagesTest, BackFromTheDestinationKeepsNothingOfWhatWasTyped) {
  qmtest::StageDrives(machine_.Root(), {{'A', "removable,drive_a,total=1474560"}});
  Expect(102, Next);
  Expect(128, Next);
  Expect(104, [](WizardPage& page) {
    page.SetItemText(kDirectory, "A:\\QMW2");
    page.Click(page_control::kBack);  // no refusal: nothing is taken
  });
  Expect(128, [this](WizardPage& page) {
    EXPECT_EQ(App().Destinations().PathOf(0), "C:\\QMW2");
    EXPECT_EQ(App().Destinations().PathOf(1), "");  // not built before a directory is chosen
    PressEscape(page);
  });
  ExpectCancelledEnd();
  EXPECT_EQ(Run({}), 1);
}

// --- browse dialog (1536) -------------------------------------------------

TEST_F(PlainPagesTest, BrowsingStartsInTheNearestFolderThatExistsAndOffersTheRestAsTheNewSubdirectory) {
  MakeHostDirectory("APPS/OLD");
  MakeHostDirectory("APPS/NEW");
  struct Row {
    std::string start;
    std::string current;
    std::string subdirectory;
    std::string location;
  };
  const std::vector<Row> rows{
      {"C:\\APPS", "C:\\APPS", "", "C:\\APPS"},
      {"C:\\APPS\\QMW2", "C:\\APPS", "QMW2", "C:\\APPS\\QMW2"},
      {"C:\\TOP\\QMW2", "C:\\", "TOP\\QMW2", "C:\\TOP\\QMW2"},
  };
  for (const Row& row : rows) {
    ExpectModal([&row](Dialog& browse) {
      SCOPED_TRACE(row.start);
      EXPECT_EQ(browse.TemplateId(), IDD_BROWSE_DIRECTORY);
      EXPECT_EQ(browse.ItemText(kCurrentDirectory), row.current);
      EXPECT_EQ(browse.ItemText(kNewSubdirectory), row.subdirectory);
      EXPECT_EQ(browse.ItemText(kLocation), row.location);
      browse.Click(platform::ui::kIdCancel);
    });
  }
  Expect(102, Next);
  Expect(128, Next);
  Expect(104, [&rows](WizardPage& page) {
    for (const Row& row : rows) {
      page.SetItemText(kDirectory, row.start);
      page.Click(kBrowse);
      EXPECT_EQ(page.ItemText(kDirectory), row.start);  // cancelled: unchanged
    }
    PressEscape(page);
  });
  ExpectCancelledEnd();
  EXPECT_EQ(Run({}), 1);
}

TEST_F(PlainPagesTest, TheBrowseDialogComposesTheLocationFromTheListsAndTheSubdirectory) {
  qmtest::StageDrives(machine_.Root(), {{'A', "removable,drive_a,total=1474560"}});
  MakeHostDirectory("APPS/OLD/INNER");
  MakeHostDirectory("APPS/new");
  std::filesystem::create_directories(machine_.Root() / "drive_a" / "DISKDIR");
  ExpectModal([](Dialog& browse) {
    // The classic list: the root and the open folders, then the subfolders.
    EXPECT_EQ(qmtest::ListTexts(browse, kDirectoryList), (std::vector<std::string>{"C:\\", "APPS", "new", "OLD"}));
    std::vector<std::uintptr_t> depths;
    for (int i = 0; i < browse.ListCount(kDirectoryList); ++i) depths.push_back(browse.ListItemData(kDirectoryList, i) >> 1);
    EXPECT_EQ(depths, (std::vector<std::uintptr_t>{0, 1, 2, 2}));
    EXPECT_EQ(browse.ListSelection(kDirectoryList), 1);
    // One entry per drive of the machine, the current one picked.
    EXPECT_EQ(qmtest::ListTexts(browse, kDriveList), (std::vector<std::string>{"A:", "C:", "Z:"}));
    EXPECT_EQ(browse.ListText(kDriveList, browse.ListSelection(kDriveList)), "C:");
    // Only the lists of the standard dialog are shown.
    for (int hidden : {IDC_OPEN_FILE_NAME, IDC_OPEN_FILE_LIST, IDC_OPEN_TYPE_COMBO, IDC_OPEN_READ_ONLY, IDC_OPEN_HELP}) {
      EXPECT_FALSE(browse.IsItemVisible(hidden)) << hidden;
    }

    browse.SetItemText(kNewSubdirectory, "LABELS");
    EXPECT_EQ(browse.ItemText(kLocation), "C:\\APPS\\LABELS");
    qmtest::UserSelects(browse, kDirectoryList, 2);
    EXPECT_EQ(browse.ItemText(kLocation), "C:\\APPS\\new\\LABELS");
    qmtest::UserDoubleClicks(browse, kDirectoryList, 3);
    EXPECT_EQ(browse.ItemText(kCurrentDirectory), "C:\\APPS\\OLD");
    EXPECT_EQ(qmtest::ListTexts(browse, kDirectoryList), (std::vector<std::string>{"C:\\", "APPS", "OLD", "INNER"}));
    EXPECT_EQ(browse.ItemText(kLocation), "C:\\APPS\\OLD\\LABELS");
    // Up again by the open folder above.
    qmtest::UserDoubleClicks(browse, kDirectoryList, 0);
    EXPECT_EQ(browse.ItemText(kLocation), "C:\\LABELS");

    qmtest::UserSelects(browse, kDriveList, 0);
    EXPECT_EQ(browse.ItemText(kCurrentDirectory), "A:\\");
    EXPECT_EQ(qmtest::ListTexts(browse, kDirectoryList), (std::vector<std::string>{"A:\\", "DISKDIR"}));
    EXPECT_EQ(browse.ItemText(kLocation), "A:\\LABELS");
    qmtest::UserDoubleClicks(browse, kDirectoryList, 1);
    browse.Click(platform::ui::kIdOk);
  });
  Expect(102, Next);
  Expect(128, Next);
  Expect(104, [](WizardPage& page) {
    page.SetItemText(kDirectory, "C:\\APPS\\QMW2");
    page.Click(kBrowse);
    EXPECT_EQ(page.ItemText(kDirectory), "A:\\DISKDIR\\LABELS");
    PressEscape(page);
  });
  ExpectCancelledEnd();
  EXPECT_EQ(Run({}), 1);
}

}  // namespace
