// The summary page: its text for each setup type and set of groups, and the
// install directory it makes sure of before the copy.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/setup_app.h"
#include "install/tables/destination_table.h"
#include "install/tables/group_table.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"
#include "tests/common/setup_app_fixture.h"
#include "tests/wizard/plain_pages_test_support.h"
#include "wizard/page_chain.h"

namespace {

using platform::ui::Dialog;
using qmtest::Next;
using qmtest::PressEscape;

constexpr int kDirectory = 1001;
constexpr int kFolder = 1006;
constexpr int kSettings = 1045;

std::string TablesWithAllGroups() {
  return "[destinations]\n0=QMW2||C:\\QMW2\n1=FONTS|0|\n"
         "[groups]\n"
         "Main=Main program|The program itself|1|1|1\n"
         "program=Program files|Quillmark program files|1|1|1\n"
         "Fonts=Fonts|Label fonts|0|1|1\n"
         "art600=Clip art 600|600 pictures|0|0|1\n"
         "art2000=Clip art 2000|2000 pictures|0|0|1\n"
         "ustpls=US templates|Templates|0|0|0\n"
         "[Main]\nQM.EXE=1000|0|1|1|0|\n";
}

class SummaryPageTest : public qmtest::SetupRunTest {
 protected:
  SummaryPageTest() { WriteMedia("SETUP.ini", TablesWithAllGroups()); }

  // On to the summary with this install directory and program folder; the
  // setup type and the groups as the setup type or custom page leave them.
  void ExpectToSummary(const std::string& directory, const std::string& folder, SetupType type,
                       const std::vector<std::string>& installed) {
    Expect(102, Next);
    Expect(128, Next);
    Expect(104, [directory](WizardPage& page) {
      page.SetItemText(kDirectory, directory);
      Next(page);
    });
    Expect(125, [this, type, installed](WizardPage& page) {
      App().SetChosenSetupType(type);
      for (const auto& group : App().Groups().Groups()) group->install = 0;
      for (const std::string& name : installed) App().Groups().Find(name)->install = 1;
      // Past the page's own buttons, which would choose their groups again.
      page.SetNextPageId(106);
      page.WizardPage::NextPage();
    });
    Expect(106, [folder](WizardPage& page) {
      page.SetItemText(kFolder, folder);
      Next(page);
    });
  }

  void ExpectCancelledEnd() {
    ExpectModal([](Dialog& box) { box.Click(platform::ui::kIdYes); });
    Expect(116, Next);
  }
};

TEST_F(SummaryPageTest, TheSummaryNamesTheTypeTheGroupsTheDirectoryAndTheFolder) {
  const std::string longDirectory = "C:\\" + std::string(120, 'D') + "\\" + std::string(100, 'E');
  const std::string longFolder(150, 'F');
  struct Row {
    SetupType type;
    std::vector<std::string> installed;
    std::string directory;
    std::string folder;
    std::string text;
  };
  const std::vector<Row> rows{
      {SetupType::Typical, {"Main", "program", "Fonts"}, "C:\\DEST", "Tools",
       "Setup Type:\r\n \tTYPICAL\r\n\t\tQuillmark program files\r\n\t\tLabel fonts\r\n"
       "\r\nTargetDirectory\r\n\tC:\\DEST\r\n\r\nProgram Folder\r\n\tTools"},
      // The four groups in their own order, whatever the table's.
      {SetupType::Custom, {"art2000", "Main", "art600", "program"}, "C:\\DEST", "Tools",
       "Setup Type:\r\n \tCUSTOM\r\n\t\tQuillmark program files\r\n\t\t600 pictures\r\n\t\t2000 pictures\r\n"
       "\r\nTargetDirectory\r\n\tC:\\DEST\r\n\r\nProgram Folder\r\n\tTools"},
      {SetupType::Custom, {"Main"}, "C:\\DEST", "Tools",
       "Setup Type:\r\n \tCUSTOM\r\n\r\nTargetDirectory\r\n\tC:\\DEST\r\n\r\nProgram Folder\r\n\tTools"},
      // Long names are shown whole.
      {SetupType::Minimum, {"program"}, longDirectory, longFolder,
       "Setup Type:\r\n \tMINIMAL\r\n\t\tQuillmark program files\r\n\r\nTargetDirectory\r\n\t" + longDirectory +
           "\r\n\r\nProgram Folder\r\n\t" + longFolder},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    ExpectToSummary(row.directory, row.folder, row.type, row.installed);
    Expect(152, [&row](WizardPage& page) {
      EXPECT_EQ(page.ItemText(kSettings), row.text);
      PressEscape(page);
    });
    ExpectCancelledEnd();
    EXPECT_EQ(Run({}), 1);
  }
}

TEST_F(SummaryPageTest, NextCreatesTheInstallDirectoryWithItsParentsOrStaysWithString7) {
  // A file stands where a directory of the path should be.
  qmtest::WriteFileText(machine_.DriveC() / "BLOCK", "not a directory");
  ExpectToSummary("C:\\BLOCK\\QMW2", "Tools", SetupType::Typical, {"Main"});
  ExpectModal([](Dialog& box) {
    EXPECT_EQ(box.ItemText(platform::ui::kMessageBoxTextId),
              "You are attempting to install to a write protected drive,\nsuch as a CD-ROM, or a drive with no space.\n"
              "Please try again.");
    box.Click(platform::ui::kIdOk);
  });
  Expect(152, [](WizardPage& page) {
    Next(page);
    EXPECT_EQ(CurrentPage(), &page);
    page.Click(page_control::kBack);
  });
  Expect(106, [](WizardPage& page) { page.Click(page_control::kBack); });
  Expect(125, [](WizardPage& page) { page.Click(page_control::kBack); });
  Expect(104, [](WizardPage& page) {
    page.SetItemText(kDirectory, "C:\\NEW\\DEEP\\QMW2");
    Next(page);
  });
  Expect(125, Next);
  Expect(106, Next);
  Expect(152, Next);
  Expect(115, [this](WizardPage& page) {
    EXPECT_TRUE(std::filesystem::is_directory(machine_.DriveC() / "NEW" / "DEEP" / "QMW2"));
    Next(page);
  });
  EXPECT_EQ(Run({}), 0);
  EXPECT_EQ(shown_, (std::vector<int>{132, 102, 128, 104, 125, 106, 152, 106, 125, 104, 125, 106, 152, 108, 115}));
}

}  // namespace
