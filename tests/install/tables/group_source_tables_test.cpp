// The group table, the source file list with its diskette order, and the
// diskette labels, loaded from install tables files and from a log.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/log/install_log.h"
#include "install/tables/diskette_table.h"
#include "install/tables/group_table.h"
#include "install/tables/source_file_list.h"
#include "tests/install/tables/tables_test_support.h"

namespace {

using tables_test::kLogFile;
using tables_test::kTablesFile;

class GroupSourceTablesTest : public tables_test::TablesTest {
 protected:
  std::vector<std::string> SourceNames() const {
    std::vector<std::string> names;
    for (const auto& source : sources_.Sources()) names.push_back(source->FileName());
    return names;
  }

  CGroupTable groups_;
  CSourceFileList sources_;
};

TEST_F(GroupSourceTablesTest, GroupsLoadWithTheirFlagsAndAreFoundIgnoringCase) {
  WriteTables(
      "[groups]\n"
      "MAIN=Main program|The label designer|1|1|1\n"
      "Fonts=Fonts|Extra fonts|0|1|1\n"
      "art600=Clip art|600 pictures|0\n");
  groups_.Load(kTablesFile);
  ASSERT_EQ(groups_.Size(), 3u);

  const CGroup* main = groups_.Find(group_name::kMain);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->name, "MAIN");
  EXPECT_EQ(main->title, "Main program");
  EXPECT_EQ(main->description, "The label designer");
  EXPECT_EQ(main->install, 0);
  EXPECT_FALSE(main->space.has_value());

  const CGroup* art = groups_.Find("ART600");
  ASSERT_NE(art, nullptr);
  EXPECT_EQ(art->typicalFlag, 0) << "missing fields read as 0";
  EXPECT_EQ(art->customFlag, 0);
  EXPECT_EQ(groups_.Find("art2000"), nullptr);

  groups_.SelectSetupType(SetupType::Minimum);
  EXPECT_TRUE(groups_.IsInstalled("Main"));
  EXPECT_FALSE(groups_.IsInstalled("Fonts"));
  groups_.SelectSetupType(SetupType::Typical);
  EXPECT_TRUE(groups_.IsInstalled("Fonts"));
  EXPECT_FALSE(groups_.IsInstalled("art600"));
  groups_.SelectSetupType(SetupType::Custom);  // the custom page decides
  EXPECT_TRUE(groups_.IsInstalled("Fonts"));
}

TEST_F(GroupSourceTablesTest, ReplacingAGroupKeepsTheSourcesPointingAtIt) {
  WriteTables("[groups]\nMain=A|B|1|1|1\n[Main]\nQM.EXE=10|0|1|1|0|\n");
  groups_.Load(kTablesFile);
  sources_.Load(kTablesFile, groups_);
  auto again = std::make_unique<CGroup>();
  again->name = "main";
  again->title = "Again";
  groups_.Add(std::move(again));
  ASSERT_EQ(groups_.Size(), 1u);
  EXPECT_EQ(sources_.Sources()[0]->Group()->title, "Again");
}

TEST_F(GroupSourceTablesTest, SourcesAreOrderedByDiskWithLateOnesLastOnTheirDisk) {
  WriteTables(
      "[groups]\n"
      "Main=Main|M|1|1|1\n"
      "Fonts=Fonts|F|0|1|1\n"
      "[Main]\n"
      "D2.ARC=100|1|3|2|0|second disk\n"
      "LATE1.ARC=50|1|1|-1|0|\n"
      "D1A.EXE=20|0|1|1|0|\n"
      "D1B.DLL=30|0|1|1|-3|\n"
      "[Fonts]\n"
      "FONT1.ARC=40|1|9|1|0|\n"
      "LATE2.ARC=60|1|9|-2|0|\n"
      "EARLY2.ARC=70|1|9|2|0|\n"
      "ZERO.TXT=1|0|1|0|0|\n");
  groups_.Load(kTablesFile);
  sources_.Load(kTablesFile, groups_);
  EXPECT_EQ(SourceNames(), (std::vector<std::string>{"ZERO.TXT", "D1A.EXE", "D1B.DLL", "FONT1.ARC", "LATE1.ARC",
                                                     "D2.ARC", "EARLY2.ARC", "LATE2.ARC"}));

  const CSourceFile& late = *sources_.Sources()[4];
  EXPECT_TRUE(late.IsLate());
  EXPECT_EQ(late.DiskNumber(), 1);
  EXPECT_EQ(late.Group(), groups_.Find("Main"));
  const CSourceFile& d2 = *sources_.Sources()[5];
  EXPECT_FALSE(d2.IsLate());
  EXPECT_EQ(d2.Size(), 100);
  EXPECT_EQ(d2.Kind(), CSourceFile::kArchive);
  EXPECT_EQ(d2.FileCount(), 3);
  EXPECT_EQ(d2.Text(), "second disk");
  EXPECT_EQ(sources_.Sources()[2]->DestinationId(), -3);
}

TEST_F(GroupSourceTablesTest, ALateSourceGoesAfterLaterReadUnflaggedOnesOfItsDisk) {
  const auto source = [](const char* name, int disk) {
    auto s = std::make_unique<CSourceFile>();
    s->SetFileName(name);
    s->SetDisk(disk);
    return s;
  };
  sources_.Insert(source("L1", -1));
  sources_.Insert(source("A1", 1));
  sources_.Insert(source("L2", -1));
  sources_.Insert(source("B1", 1));
  sources_.Append(source("SETUP.EXE", 0));
  EXPECT_EQ(SourceNames(), (std::vector<std::string>{"A1", "B1", "L1", "L2", "SETUP.EXE"}));

  CSourceFile extreme;
  extreme.SetDisk(INT32_MIN);  // has no positive counterpart
  EXPECT_TRUE(extreme.IsLate());
  EXPECT_EQ(extreme.DiskNumber(), INT32_MAX);
}

TEST_F(GroupSourceTablesTest, GroupsSavedToTheLogLoadBackWithTheirFileLines) {
  WriteTables("[groups]\nMain=Main program|The label designer|1|1|0\nFonts=Fonts|Extra, more|0|1|1\n");
  groups_.Load(kTablesFile);
  ASSERT_TRUE(groups_.SaveGroups(kLogFile));
  ASSERT_TRUE(LogInstalledFile({"Main", "C:\\QMW2\\QM.EXE", 0, true, false}, kLogFile));
  ASSERT_TRUE(LogInstalledFile({"Fonts", "C:\\WINDOWS\\FONTS\\A.TTF", 4, true, true}, kLogFile));

  // The removal run reads the log as its tables file.
  CGroupTable removalGroups;
  removalGroups.Load(kLogFile);
  ASSERT_EQ(removalGroups.Size(), 2u);
  for (const auto& group : groups_.Groups()) {
    const CGroup* back = removalGroups.Find(group->name);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->title, group->title);
    EXPECT_EQ(back->description, group->description);
    EXPECT_EQ(back->minimumFlag, group->minimumFlag);
    EXPECT_EQ(back->typicalFlag, group->typicalFlag);
    EXPECT_EQ(back->customFlag, group->customFlag);
  }
  // The per-file lines have three fields; they load without failing.
  CSourceFileList removalSources;
  removalSources.Load(kLogFile, removalGroups);
  ASSERT_EQ(removalSources.Size(), 2u);
  EXPECT_EQ(removalSources.Sources()[0]->FileName(), "QM.EXE");
  EXPECT_EQ(removalSources.Sources()[1]->Text(), "");
}

TEST_F(GroupSourceTablesTest, DisketteLabelsDefaultToTheirNumberAndTheFileOverridesThem) {
  CDisketteTable diskettes;
  EXPECT_EQ(diskettes.Label(0), "");
  EXPECT_EQ(diskettes.Label(1), "Diskette 1");
  EXPECT_EQ(diskettes.Label(24), "Diskette 24");
  EXPECT_EQ(diskettes.Label(25), std::nullopt);
  EXPECT_EQ(diskettes.Label(-1), std::nullopt);

  WriteTables("[diskettes]\n2=Program Disk 2\n0=Setup\n25=Too far\n-1=Before\n24=Last\n");
  diskettes.Load(kTablesFile);
  EXPECT_EQ(diskettes.Label(0), "Setup");
  EXPECT_EQ(diskettes.Label(1), "Diskette 1");
  EXPECT_EQ(diskettes.Label(2), "Program Disk 2");
  EXPECT_EQ(diskettes.Label(24), "Last");
  EXPECT_EQ(diskettes.Label(25), std::nullopt);
  EXPECT_FALSE(diskettes.SetLabel(25, "x"));
}

}  // namespace
