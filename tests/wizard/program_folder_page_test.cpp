// The program folder page: the existing folders on each platform, the name
// picked or typed, its record in the install log, and a batch run.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "app/setup_app.h"
#include "platform/profile/private_profile.h"
#include "platform/ui/dialog.h"
#include "tests/common/setup_app_fixture.h"
#include "tests/common/start_menu_seed.h"
#include "tests/wizard/plain_pages_test_support.h"
#include "wizard/page_chain.h"

namespace {

using platform::ui::Dialog;
using qmtest::Next;
using qmtest::PressEscape;

constexpr int kFolder = 1006;
constexpr int kExistingFolders = 1007;
constexpr const char* kLogFile = "C:\\WINDOWS\\Qmw.log";

std::string LoggedProgramFolder() {
  char buffer[260] = {};
  platform::GetPrivateProfileString("PMGroup", "pmgroup", "<none>", buffer, sizeof buffer, kLogFile);
  return buffer;
}

class ProgramFolderPageTest : public qmtest::SetupRunTest {
 protected:
  void SeedStartMenu(const std::vector<std::string>& folders) const { qmtest::SeedStartMenu(machine_, folders); }

  void ExpectToProgramFolder() {
    for (int id : {102, 128, 104, 125}) Expect(id, Next);
  }

  void ExpectCancelledEnd() {
    ExpectModal([](Dialog& box) { box.Click(platform::ui::kIdYes); });
    Expect(116, Next);
  }
};

TEST_F(ProgramFolderPageTest, TheExistingFoldersComeFromTheStartMenuOrFromProgramManager) {
  struct Row {
    platform::PlatformKind platform;
    std::vector<std::string> listed;
  };
  const std::vector<std::string> folders{"Accessories", "Label Tools", "StartUp"};
  const std::vector<Row> rows{
      {platform::PlatformKind::Win95, folders},
      {platform::PlatformKind::Nt4, folders},
      // No Program Manager answers (none can be started here): nothing to list.
      {platform::PlatformKind::Nt351, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(platform::PlatformKindName(row.platform)));
    qmtest::StageDrives(machine_.Root(), {}, row.platform);
    SeedStartMenu(folders);
    ExpectToProgramFolder();
    Expect(106, [&row](WizardPage& page) {
      std::vector<std::string> listed = qmtest::ListTexts(page, kExistingFolders);
      std::sort(listed.begin(), listed.end());
      EXPECT_EQ(listed, row.listed);
      EXPECT_EQ(page.ItemText(kFolder), "QM2");
      PressEscape(page);
    });
    ExpectCancelledEnd();
    EXPECT_EQ(Run({}), 1);
  }
}

TEST_F(ProgramFolderPageTest, APickedFolderFillsTheNameAndNextRecordsItForTheRemoval) {
  SeedStartMenu({"Accessories", "Label Tools"});
  ExpectToProgramFolder();
  Expect(106, [](WizardPage& page) {
    const int tools = page.FindListString(kExistingFolders, "Label Tools");
    ASSERT_GE(tools, 0);
    qmtest::UserSelects(page, kExistingFolders, tools);
    EXPECT_EQ(page.ItemText(kFolder), "Label Tools");
    Next(page);
  });
  Expect(152, [this](WizardPage& page) {
    EXPECT_EQ(App().ProgramFolder(), "Label Tools");
    EXPECT_EQ(LoggedProgramFolder(), "Label Tools");
    page.Click(page_control::kBack);
  });
  Expect(106, [](WizardPage& page) {
    // The name chosen before is offered again, and a typed one replaces it.
    EXPECT_EQ(page.ItemText(kFolder), "Label Tools");
    page.SetItemText(kFolder, "Quillmark");
    Next(page);
  });
  Expect(152, [](WizardPage& page) {
    EXPECT_EQ(LoggedProgramFolder(), "Quillmark");
    PressEscape(page);
  });
  ExpectCancelledEnd();
  EXPECT_EQ(Run({}), 1);
}

TEST_F(ProgramFolderPageTest, ABatchRunKeepsTheProposedFolderWithoutListingTheOthers) {
  SeedStartMenu({"Accessories"});
  std::string folderOnPage = "<not seen>";
  int listed = -1;
  watch_ = [&](WizardPage& page, PagePhase phase) {
    if (page.PageId() != 106 || phase != PagePhase::Waiting) return;
    folderOnPage = page.ItemText(kFolder);
    listed = page.ListCount(kExistingFolders);
  };
  EXPECT_EQ(Run({"/B"}), 0);
  EXPECT_EQ(folderOnPage, "QM2");
  EXPECT_EQ(listed, 0);
  EXPECT_EQ(LoggedProgramFolder(), "QM2");
}

}  // namespace
