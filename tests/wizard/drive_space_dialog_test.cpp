// The "Available Drive Space" dialog (151), opened from the custom options
// page: the machine's drives, the space of the one picked, and the letter it
// puts into the destination.

#include <gtest/gtest.h>

#include <QComboBox>

#include <string>
#include <vector>

#include "app/setup_app.h"
#include "tests/wizard/space_pages_fixture.h"
#include "wizard/pages/custom_options_page.h"
#include "wizard/pages/setup_type_page.h"
#include "wizard/wizard_page.h"

namespace {

using Page = CustomOptionsPage;

constexpr int kDriveCombo = 1017;
constexpr int kRequired = 1039;
constexpr int kAvailable = 1040;

class DriveSpaceDialogTest : public qmtest::SpacePagesTest {};

std::vector<std::string> Drives(platform::ui::Dialog& dialog) {
  std::vector<std::string> letters;
  for (int i = 0; i < dialog.ListCount(kDriveCombo); ++i) letters.push_back(dialog.ListText(kDriveCombo, i));
  return letters;
}

TEST_F(DriveSpaceDialogTest, ListsTheDrivesAndOkReplacesTheDestinationsLetter) {
  struct Row {
    int answer;
    const char* destination;  // afterwards
    const char* available;    // "Space Available:" of the page afterwards
  };
  StageMachine(2048000, {Fixed('D', 5120000), Removable('A', 1474560, 1024000)});
  for (Row row : {Row{platform::ui::kIdOk, "D:\\apps\\qmw2", "Space Available:\t 5MB"},
                  Row{platform::ui::kIdCancel, "c:\\apps\\qmw2", "Space Available:\t 2MB"}}) {
    SCOPED_TRACE(row.destination);
    ExpectNextToSetupType();
    Expect(125, [](WizardPage& page) { page.Click(SetupTypePage::kCustomButton); });
    // Answered while the page's step runs, before the question of its Cancel.
    ExpectModal([this, &row](platform::ui::Dialog& dialog) {
      EXPECT_EQ(dialog.TemplateId(), 151);
      EXPECT_EQ(Drives(dialog), (std::vector<std::string>{"A", "C", "D", "Z"}));
      EXPECT_EQ(dialog.ListText(kDriveCombo, dialog.ListSelection(kDriveCombo)), "C");  // the destination's
      EXPECT_EQ(dialog.ItemText(kRequired),
                "Space Required: " + MegabytesText(App().Totals().For(SetupType::Custom).total));
      EXPECT_EQ(dialog.ItemText(kAvailable), "Space Available: 2MB");
      qobject_cast<QComboBox*>(dialog.Item(kDriveCombo))->setCurrentIndex(2);  // as the user picks D
      EXPECT_EQ(dialog.ItemText(kAvailable), "Space Available: 5MB");
      dialog.Click(row.answer);
    });
    ExpectCancelOn(127, [&row](WizardPage& page) {
      page.SetItemText(Page::kDestination, "c:\\apps\\qmw2");
      page.Click(Page::kDriveSpace);
      EXPECT_EQ(page.ItemText(Page::kDestination), row.destination);
      EXPECT_EQ(page.ItemText(Page::kSpaceAvailable), row.available);
    });
    EXPECT_EQ(Run({}), 1);
  }
}

}  // namespace
