// The out-of-disk-space page (150): reached when the chosen setup does not
// fit, with its four ways on.

#include <gtest/gtest.h>

#include <vector>

#include "tests/wizard/space_pages_fixture.h"
#include "wizard/pages/out_of_disk_space_page.h"
#include "wizard/pages/setup_type_page.h"
#include "wizard/wizard_page.h"

namespace {

using Page = OutOfDiskSpacePage;

class OutOfDiskSpacePageTest : public qmtest::SpacePagesTest {};

TEST_F(OutOfDiskSpacePageTest, EachOfTheFourButtonsLeadsOn) {
  struct Row {
    int control;
    int nextPage;
  };
  StageMachine(1024000);  // less than any setup needs
  for (Row row : {Row{Page::kChangePath, 104}, Row{Page::kChangeOption, 125}, Row{page_control::kNext, 106},
                  Row{page_control::kCancel, 116}}) {
    SCOPED_TRACE(row.control);
    shown_.clear();
    ExpectNextToSetupType();
    Expect(125, [](WizardPage& page) { page.Click(page_control::kNext); });
    Expect(150, [&row](WizardPage& page) {
      EXPECT_EQ(page.DefaultButton(), Page::kChangePath);
      EXPECT_EQ(page.FocusedItem(), Page::kChangePath);
      page.Click(row.control);
    });
    if (row.nextPage == 116) {
      ExpectCancelled();
    } else {
      ExpectCancelOn(row.nextPage);
    }
    EXPECT_EQ(Run({}), 1);
    std::vector<int> expected{132, 102, 128, 104, 125, 150, row.nextPage};
    if (row.nextPage != 116) expected.push_back(116);
    EXPECT_EQ(shown_, expected);
  }
}

}  // namespace
