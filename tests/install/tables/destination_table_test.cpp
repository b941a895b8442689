// The destination table: loading, resolution in passes and its failures, fixed
// entries, and the log lines a removal run reads back.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "install/errors/install_profile_codes.h"
#include "install/errors/install_profile_exception.h"
#include "install/tables/destination_table.h"
#include "tests/install/tables/tables_test_support.h"

namespace {

using tables_test::kLogFile;
using tables_test::kTablesFile;

class DestinationTableTest : public tables_test::TablesTest {
 protected:
  DestinationTableTest() {
    table_.SetPresets({"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\TEMP\\", "A:\\"});
  }

  // Loads the lines as the "destinations" section and resolves them.
  void LoadAndResolve(const std::string& lines) {
    WriteTables("[destinations]\n" + lines);
    table_.Load(kTablesFile);
    table_.Resolve();
  }

  static void ExpectFailure(const std::function<void()>& action, std::int32_t code) {
    try {
      action();
      FAIL() << "no CInstallProfileException";
    } catch (const CInstallProfileException& e) {
      EXPECT_EQ(e.Code(), code);
    }
  }

  CDestinationTable table_;
};

TEST_F(DestinationTableTest, ChildrenListedBeforeTheirParentsResolveInLaterPasses) {
  // In id order each entry's parent comes after it: three passes are needed.
  LoadAndResolve(
      "0=QMW2|x|C:\\QMW2\n"
      "1=DEEP|2|\n"
      "2=MIDDLE|3|\n"
      "3=TOP|0|ignored\n"
      "4=FONTS|-2|\n");
  EXPECT_EQ(table_.PathOf(0), "C:\\QMW2");
  EXPECT_EQ(table_.PathOf(3), "C:\\QMW2\\TOP");
  EXPECT_EQ(table_.PathOf(2), "C:\\QMW2\\TOP\\MIDDLE");
  EXPECT_EQ(table_.PathOf(1), "C:\\QMW2\\TOP\\MIDDLE\\DEEP");
  EXPECT_EQ(table_.PathOf(4), "C:\\WINDOWS\\FONTS");
  EXPECT_EQ(table_.Find(0)->parentId, Destination::kNoParent);  // "x" is not a number
}

TEST_F(DestinationTableTest, ParentsWithATrailingSeparatorOrEmptyPathJoinCleanly) {
  LoadAndResolve(
      "0=QMW2||\n"
      "1=SUB|0|\n"
      "2=T|-4|\n"
      "3=ROOTED|5|\n"
      "5=|-1|C:\\\n");
  EXPECT_EQ(table_.PathOf(1), "SUB");  // the install directory is not chosen yet
  EXPECT_EQ(table_.PathOf(2), "C:\\WINDOWS\\TEMP\\T");
  EXPECT_EQ(table_.PathOf(3), "C:\\ROOTED");
}

TEST_F(DestinationTableTest, ChangingTheInstallDirectoryMovesItsChildrenOnResolve) {
  LoadAndResolve("0=QMW2||C:\\QMW2\n1=FONTS|0|\n2=ART|1|\n");
  table_.SetPath(0, "D:\\APPS\\LABELS");
  table_.Resolve();
  EXPECT_EQ(table_.PathOf(2), "D:\\APPS\\LABELS\\FONTS\\ART");

  // A set path is absolute: the entry no longer follows its parent.
  table_.SetPath(1, "E:\\F");
  table_.Resolve();
  EXPECT_EQ(table_.PathOf(1), "E:\\F");
  EXPECT_EQ(table_.PathOf(2), "E:\\F\\ART");
  EXPECT_EQ(table_.Find(1)->relativeName, "FONTS");
}

TEST_F(DestinationTableTest, MissingParentsAndCyclesFailInsteadOfLooping) {
  const auto code = install_profile_code::kUnresolvedDestinations;
  ExpectFailure([&] { LoadAndResolve("0=A||C:\\A\n1=B|7|\n"); }, code);

  CDestinationTable cycle;
  cycle.Set(0, {"A", -1, "C:\\A"});
  cycle.Set(1, {"B", 2, ""});
  cycle.Set(2, {"C", 1, ""});
  cycle.Set(3, {"D", 0, ""});
  ExpectFailure([&] { cycle.Resolve(); }, code);
  EXPECT_EQ(cycle.PathOf(3), "C:\\A\\D");  // what could be built, was

  CDestinationTable self;
  self.Set(5, {"S", 5, ""});
  ExpectFailure([&] { self.Resolve(); }, code);
  EXPECT_EQ(self.RootOf(5), 5);
  EXPECT_EQ(cycle.RootOf(1), 2);  // a cycle's chain stops where it would repeat
}

TEST_F(DestinationTableTest, AFileWithoutDestinationLinesIsADamagedProfile) {
  const auto code = install_profile_code::kNoDestinations;
  WriteTables("[destinations]\n[groups]\nMain=Main|Core|1|1|0\n");
  ExpectFailure([&] { table_.Load(kTablesFile); }, code);
  ExpectFailure([&] { table_.Load("C:\\MEDIA\\MISSING.INI"); }, code);
  EXPECT_EQ(table_.Size(), 4u);  // the fixed entries only
}

TEST_F(DestinationTableTest, KeysThatNameNo16BitIdAreSkipped) {
  LoadAndResolve("0=A||C:\\A\nlabel=B||C:\\B\n65534=C||C:\\C\n-2=WIN||C:\\OTHER\n");
  EXPECT_EQ(table_.PathOf(0), "C:\\A");
  EXPECT_EQ(table_.Size(), 5u);
  // A file may still move a fixed directory by naming its id.
  EXPECT_EQ(table_.PathOf(-2), "C:\\OTHER");
}

TEST_F(DestinationTableTest, SavedLinesLoadBackAsTheSameTableWithoutFixedEntries) {
  LoadAndResolve("0=QMW2||C:\\QMW2\n1=FONTS|0|\n2=SYS|-3|\n");
  ASSERT_TRUE(table_.SaveDestinations(kLogFile));

  CDestinationTable removal;
  removal.SetPresets({"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\TEMP\\", "C:\\QMW2\\"});
  removal.Load(kLogFile);
  EXPECT_EQ(removal.Size(), 7u);
  for (int id : {0, 1, 2}) {
    ASSERT_NE(removal.Find(id), nullptr) << id;
    EXPECT_EQ(removal.Find(id)->relativeName, table_.Find(id)->relativeName);
    EXPECT_EQ(removal.Find(id)->parentId, table_.Find(id)->parentId);
    EXPECT_EQ(removal.PathOf(id), table_.PathOf(id)) << "the log holds resolved paths";
  }
  // The fixed entries are the removal machine's own, not the logged ones.
  EXPECT_EQ(removal.PathOf(-5), "C:\\QMW2\\");
  removal.Resolve();
  EXPECT_EQ(removal.PathOf(2), "C:\\WINDOWS\\SYSTEM\\SYS");
}

TEST_F(DestinationTableTest, MachinePresetsComeFromTheEmulatedMachine) {
  CDestinationTable table;
  table.SetPresets(MachinePresetDirectories("C:\\MEDIA\\"));
  EXPECT_EQ(table.PathOf(CDestinationTable::kWindowsDirectory), "C:\\WINDOWS");
  EXPECT_EQ(table.PathOf(CDestinationTable::kSystemDirectory), "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(table.PathOf(CDestinationTable::kTemporaryDirectory), "C:\\WINDOWS\\TEMP\\");
  EXPECT_EQ(table.PathOf(CDestinationTable::kSourceDirectory), "C:\\MEDIA\\");
  EXPECT_EQ(table.PathOf(0), "");
}

}  // namespace
