// Loading every table of a tables file in one go, and a removal run reading
// the tables back from the log an install run wrote.

#include <gtest/gtest.h>

#include <vector>

#include "install/errors/install_profile_exception.h"
#include "install/log/install_log.h"
#include "install/tables/destination_table.h"
#include "install/tables/diskette_table.h"
#include "install/tables/group_table.h"
#include "install/tables/install_tables.h"
#include "install/tables/source_file_list.h"
#include "system/target_table.h"
#include "tests/install/tables/tables_test_support.h"

namespace {

using tables_test::kLogFile;
using tables_test::kTablesFile;

class InstallTablesTest : public tables_test::TablesTest {
 protected:
  InstallTablesTest() { destinations_.SetPresets(MachinePresetDirectories("C:\\MEDIA\\")); }

  InstallTables Tables() { return {destinations_, groups_, targets_, sources_, diskettes_}; }

  CDestinationTable destinations_;
  CGroupTable groups_;
  CTargetTable targets_;
  CSourceFileList sources_;
  CDisketteTable diskettes_;
};

TEST_F(InstallTablesTest, EveryTableIsLoadedInTurnWithACallAfterEach) {
  WriteTables(
      "[diskettes]\n1=Setup Disk\n"
      "[Main]\nQM.EXE=100|0|1|1|0|\n"
      "[targets]\nQM.EXE=0|-1|0|Quillmark||QM.ICO|C:\\QMW2\\QM.EXE\n"
      "[groups]\nMain=Main|M|1|1|1\n"
      "[destinations]\n0=QMW2||C:\\QMW2\n");
  std::vector<InstallTable> calls;
  LoadInstallTables(kTablesFile, Tables(), [&](InstallTable table) {
    calls.push_back(table);
    // Each table is complete when its call comes.
    if (table == InstallTable::Groups) {
      EXPECT_EQ(groups_.Size(), 1u);
    }
    if (table == InstallTable::Targets) {
      EXPECT_EQ(targets_.Size(), 1u);
    }
  });
  EXPECT_EQ(calls, (std::vector<InstallTable>{InstallTable::Destinations, InstallTable::Groups,
                                              InstallTable::Targets, InstallTable::Sources,
                                              InstallTable::Diskettes}));
  EXPECT_EQ(sources_.Size(), 1u);
  EXPECT_EQ(diskettes_.Label(1), "Setup Disk");
  EXPECT_EQ(destinations_.PathOf(0), "C:\\QMW2");
}

TEST_F(InstallTablesTest, AFileWithoutDestinationsStopsBeforeTheOtherTables) {
  WriteTables("[groups]\nMain=Main|M|1|1|1\n");
  int calls = 0;
  EXPECT_THROW(LoadInstallTables(kTablesFile, Tables(), [&](InstallTable) { ++calls; }),
               CInstallProfileException);
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(groups_.Size(), 0u);

  // A removal whose log is gone has nothing to go by either.
  EXPECT_THROW(LoadInstallTables("C:\\WINDOWS\\MISSING.LOG", Tables()), CInstallProfileException);
}

TEST_F(InstallTablesTest, ARemovalRunReadsTheLogTheInstallWroteAsItsTablesFile) {
  WriteTables(
      "[destinations]\n0=QMW2||C:\\QMW2\n1=FONTS|-2|\n"
      "[groups]\nMain=Main program|Core|1|1|0\nFonts=Fonts|Extra|0|1|1\n"
      "[Main]\nQM.EXE=100|0|1|1|0|\n"
      "[Fonts]\nFONTS.ARC=100|1|1|-1|1|\n"
      "[targets]\nQM.EXE=2|-1|1|Quillmark|/X|QM.ICO|C:\\QMW2\\QM.EXE\n");
  LoadInstallTables(kTablesFile, Tables());
  destinations_.Resolve();

  // What the install writes after its copy.
  ASSERT_TRUE(LogInstalledFile({"Main", "C:\\QMW2\\QM.EXE", 0, true, false}, kLogFile));
  ASSERT_TRUE(LogInstalledFile({"Fonts", "C:\\WINDOWS\\FONTS\\A.TTF", 1, true, true}, kLogFile));
  ASSERT_TRUE(destinations_.SaveDestinations(kLogFile));
  ASSERT_TRUE(groups_.SaveGroups(kLogFile));
  ASSERT_TRUE(targets_.SaveTargets(kLogFile));

  CDestinationTable destinations;
  destinations.SetPresets(MachinePresetDirectories("C:\\MEDIA\\"));
  CGroupTable groups;
  CTargetTable targets;
  CSourceFileList sources;
  CDisketteTable diskettes;
  LoadInstallTables(kLogFile, {destinations, groups, targets, sources, diskettes});
  EXPECT_EQ(destinations.PathOf(1), "C:\\WINDOWS\\FONTS");
  EXPECT_EQ(destinations.Find(1)->parentId, -2);
  EXPECT_EQ(groups.Size(), 2u);
  ASSERT_NE(targets.Find("qm.exe"), nullptr);
  EXPECT_EQ(targets.Find("QM.EXE")->arguments, "/X");
  ASSERT_EQ(sources.Size(), 2u);
  EXPECT_EQ(sources.Sources()[1]->FileName(), "A.TTF");
  EXPECT_EQ(sources.Sources()[1]->Size(), 1) << "the first field is the destination id";
  EXPECT_EQ(diskettes.Label(3), "Diskette 3");
}

}  // namespace
