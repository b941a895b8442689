// Finding a source: the source directory, the next numbered directory unless a
// tag file says the media holds that disk, and the diskette prompt's texts.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "install/copy/source_locator.h"
#include "install/errors/install_profile_exception.h"
#include "install/tables/diskette_table.h"
#include "tests/install/copy/copy_test_support.h"
#include "tests/install/copy/scripted_copy_ui.h"

namespace {

using namespace copy_test;

struct LocateCase {
  const char* name;
  const char* sourceDirectory;
  std::vector<const char*> present;
  int disk;
  const char* label;  // null: the table's default
  bool answer;        // to the prompt
  bool found;
  const char* promptText;  // null: no prompt
  const char* directoryAfter;
};
void PrintTo(const LocateCase& c, std::ostream* os) { *os << c.name; }

class LocateTest : public CopyTest, public ::testing::WithParamInterface<LocateCase> {};

TEST_P(LocateTest, FindsOrAsks) {
  const LocateCase& c = GetParam();
  for (const char* path : c.present) Put(path, "x");
  CDisketteTable diskettes;
  if (c.label) diskettes.SetLabel(c.disk, c.label);
  ScriptedCopyUi ui;
  ui.onDiskette = [&](const DiskettePrompt&) { return c.answer; };
  CSourceLocator locator(c.sourceDirectory, diskettes, ui);

  EXPECT_EQ(locator.EnsureSourceFile("DATA.1", c.disk), c.found);
  if (c.promptText) {
    ASSERT_EQ(ui.prompts.size(), 1u);
    EXPECT_EQ(ui.prompts[0].text, c.promptText);
    EXPECT_EQ(ui.prompts[0].diskNumber, c.disk);
  } else {
    EXPECT_TRUE(ui.prompts.empty());
  }
  EXPECT_EQ(locator.SourceDirectory(), c.directoryAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, LocateTest,
    ::testing::Values(
        LocateCase{"InTheSourceDirectory", "C:\\CD\\DISK01", {"C:\\CD\\DISK01\\DATA.1"}, 1, nullptr, false, true,
                   nullptr, "C:\\CD\\DISK01\\"},
        LocateCase{"InTheNextNumberedDirectory", "C:\\CD\\DISK01\\", {"C:\\CD\\DISK02\\DATA.1"}, 2, nullptr, false,
                   true, nullptr, "C:\\CD\\DISK02\\"},
        LocateCase{"TagFileMeansThisMediaHoldsTheDisk", "C:\\CD\\DISK01\\",
                   {"C:\\CD\\DISK01\\diskette.002", "C:\\CD\\DISK02\\DATA.1"}, 2, nullptr, true, true,
                   "Please insert the diskette labelled 'Diskette 2' in drive C:", "C:\\CD\\DISK01\\"},
        LocateCase{"NumberZeroHasNoNext", "C:\\CD\\DISK00\\", {"C:\\CD\\DISK01\\DATA.1"}, 1, nullptr, false, false,
                   "Please insert the diskette labelled 'Diskette 1' in drive C:", "C:\\CD\\DISK00\\"},
        LocateCase{"LabelFromTheTables", "C:\\MEDIA\\", {}, 3, "Program Disk", true, true,
                   "Please insert the diskette labelled 'Program Disk' in drive C:", "C:\\MEDIA\\"},
        LocateCase{"DiskZeroNamesTheNumber", "C:\\MEDIA\\", {}, 0, nullptr, false, false,
                   "Please insert diskette 0 in drive C:", "C:\\MEDIA\\"}),
    [](const ::testing::TestParamInfo<LocateCase>& info) { return std::string(info.param.name); });

TEST_F(CopyTest, DiskOutsideTheLabelTableIsATablesFault) {
  CDisketteTable diskettes;
  ScriptedCopyUi ui;
  CSourceLocator locator("C:\\MEDIA", diskettes, ui);
  EXPECT_THROW(locator.EnsureSourceFile("DATA.1", 25), CInstallProfileException);
  EXPECT_THROW(locator.EnsureSourceFile("DATA.1", -1), CInstallProfileException);
}

TEST(NextNumberedDirectory, CountsTheLastTwoCharacters) {
  EXPECT_EQ(NextNumberedDirectory("C:\\CD\\DISK09\\"), std::optional<std::string>("C:\\CD\\DISK10\\"));
  EXPECT_EQ(NextNumberedDirectory("D:\\SET\\01"), std::optional<std::string>("D:\\SET\\02\\"));
  EXPECT_EQ(NextNumberedDirectory("C:\\CD\\DISK00\\"), std::nullopt);
  EXPECT_EQ(NextNumberedDirectory("C:\\CD\\DISKA\\"), std::nullopt);
  EXPECT_EQ(NextNumberedDirectory("A:\\"), std::nullopt);
  EXPECT_EQ(NextNumberedDirectory("C:\\1"), std::nullopt);
}

}  // namespace
