// The setup type page (125): the space shown under each button, the space
// check against one drive or two, and what each button chooses.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/setup_app.h"
#include "install/tables/group_table.h"
#include "tests/wizard/space_pages_fixture.h"
#include "wizard/page_chain.h"
#include "wizard/pages/setup_type_page.h"
#include "wizard/wizard_page.h"

namespace {

using qmtest::kPlenty;

class SetupTypePageTest : public qmtest::SpacePagesTest {};

TEST_F(SetupTypePageTest, ShowsTheSpaceOfEachTypeInMegabytesOf1024000Bytes) {
  // Minimum needs 1,023,999 bytes, Typical 1,024,000, Custom nothing.
  WriteMedia("SETUP.ini",
             "[destinations]\n0=QMW2||C:\\QMW2\n"
             "[groups]\nMain=Main|M|1|0|0\nprogram=Program|P|0|1|0\n"
             "[Main]\nQM.EXE=1023999|0|1|1|0|\n[program]\nQM.HLP=1024000|0|1|1|0|\n");
  ExpectNextToSetupType();
  ExpectCancelOn(125, [](WizardPage& page) {
    EXPECT_EQ(page.ItemText(SetupTypePage::kMinimumSpace), "Space Required: 0MB");
    EXPECT_EQ(page.ItemText(SetupTypePage::kTypicalSpace), "Space Required: 1MB");
    EXPECT_EQ(page.ItemText(SetupTypePage::kCustomSpace), "Space Required: 0MB");
  });
  EXPECT_EQ(Run({}), 1);
}

TEST_F(SetupTypePageTest, OneDriveMustHoldTheWholeInstallAndTwoDrivesEachTheirPart) {
  struct Row {
    const char* what;
    int button;
    std::uint64_t cFree;
    std::optional<std::uint64_t> dFree;  // set: the install directory is on D
    int nextPage;
  };
  const Row rows[] = {
      {"one drive, just enough", SetupTypePage::kTypicalButton, qmtest::kTypicalTotal, {}, 106},
      {"one drive, a byte short although each part fits", SetupTypePage::kTypicalButton,
       qmtest::kTypicalTotal - 1, {}, 150},
      {"one drive, Minimum", SetupTypePage::kMinimumButton, qmtest::kMinimumTotal, {}, 106},
      {"one drive, Minimum a byte short", SetupTypePage::kMinimumButton, qmtest::kMinimumTotal - 1, {}, 150},
      {"two drives, each just its part", SetupTypePage::kTypicalButton, qmtest::kTypicalWindowsPart,
       qmtest::kTypicalInstallPart, 106},
      {"two drives, install drive short", SetupTypePage::kTypicalButton, kPlenty,
       qmtest::kTypicalInstallPart - 1, 150},
      {"two drives, Windows drive short", SetupTypePage::kTypicalButton, qmtest::kTypicalWindowsPart - 1, kPlenty,
       150},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    if (row.dFree) {
      StageMachine(row.cFree, {Fixed('D', *row.dFree)});
      WriteMedia("SETUP.ini", qmtest::SpaceTablesText("D:\\QMW2"));
    } else {
      StageMachine(row.cFree);
      WriteMedia("SETUP.ini", qmtest::SpaceTablesText("C:\\QMW2"));
    }
    shown_.clear();
    ExpectNextToSetupType();
    Expect(125, [&row](WizardPage& page) { page.Click(row.button); });
    ExpectCancelOn(row.nextPage);
    EXPECT_EQ(Run({}), 1);
    EXPECT_EQ(shown_.at(shown_.size() - 2), row.nextPage);
  }
}

TEST_F(SetupTypePageTest, EachButtonChoosesItsGroupsSelectorAndType) {
  struct Row {
    int control;
    int nextPage;
    SetupType type;
    std::string selector;
    std::vector<std::string> installed;
  };
  const Row rows[] = {
      {SetupTypePage::kMinimumButton, 106, SetupType::Minimum, "\x01", {"Main", "program"}},
      {SetupTypePage::kTypicalButton, 106, SetupType::Typical, "\x02", {"Main", "program", "Fonts"}},
      {page_control::kNext, 106, SetupType::Typical, "\x02", {"Main", "program", "Fonts"}},
      // Custom chooses no groups: the custom options page does.
      {SetupTypePage::kCustomButton, 127, SetupType::Custom, "\x02", {}},
  };
  StageMachine(kPlenty);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.control);
    shown_.clear();
    ExpectNextToSetupType();
    Expect(125, [&row](WizardPage& page) { page.Click(row.control); });
    ExpectCancelOn(row.nextPage, [this, &row](WizardPage&) {
      EXPECT_EQ(App().ChosenSetupType(), row.type);
      EXPECT_EQ(App().RegistrySelector(), row.selector);
      EXPECT_EQ(InstalledGroups(), row.installed);
    });
    EXPECT_EQ(Run({}), 1);
  }
}

}  // namespace
