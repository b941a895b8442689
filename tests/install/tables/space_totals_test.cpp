// Space totals of the setup types: the Windows part, archives counted by their
// entries, the template group, megabyte texts and sums beyond 32 bits.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "install/archive/archive_writer.h"
#include "install/tables/destination_table.h"
#include "install/tables/group_table.h"
#include "install/tables/source_file_list.h"
#include "install/tables/space_survey.h"
#include "install/tables/space_totals.h"
#include "tests/install/tables/tables_test_support.h"

namespace {

using tables_test::kMediaDirectory;
using tables_test::kTablesFile;

TEST(MegabytesTextTest, AMegabyteIs1024000BytesAndTheRestIsCutOff) {
  EXPECT_EQ(MegabytesText(0), "0MB");
  EXPECT_EQ(MegabytesText(1023999), "0MB");
  EXPECT_EQ(MegabytesText(1024000), "1MB");
  EXPECT_EQ(MegabytesText(1048576), "1MB");
  EXPECT_EQ(MegabytesText(INT32_MAX), "2097MB");
}

TEST(SpaceTotalsTest, SumsStopAtTheLargest32BitNumberInsteadOfWrapping) {
  SpaceTotals totals;
  totals.Add(SetupType::Typical, INT32_MAX - 10, false);
  totals.Add(SetupType::Typical, 100, true);
  const SpaceParts& typical = totals.For(SetupType::Typical);
  EXPECT_EQ(typical.total, INT32_MAX);
  EXPECT_EQ(typical.underInstall, INT32_MAX - 10);
  EXPECT_EQ(typical.underWindows, 100);
  EXPECT_EQ(totals.For(SetupType::Minimum).total, 0);
  totals.AddToTotal(SetupType::Typical, 4000000000LL);  // an archive entry's unsigned size
  EXPECT_EQ(totals.For(SetupType::Typical).total, INT32_MAX);
  totals.Clear(SetupType::Typical);
  EXPECT_EQ(totals.For(SetupType::Typical).underWindows, 0);
}

class SpaceSurveyTest : public tables_test::TablesTest {
 protected:
  SpaceSurveyTest() {
    destinations_.SetPresets({"C:\\WINDOWS", "C:\\WINDOWS\\SYSTEM", "C:\\WINDOWS\\TEMP\\", kMediaDirectory});
  }

  // Loads destinations, groups and sources of the tables text.
  void Load(const std::string& tables) {
    WriteTables(tables);
    destinations_.Load(kTablesFile);
    groups_.Load(kTablesFile);
    sources_.Load(kTablesFile, groups_);
  }

  // An archive in the media directory whose members are files of the given
  // sizes, each with its destination id.
  void MakeArchive(const std::string& name, const std::vector<std::pair<std::size_t, int16_t>>& members) {
    CArchiveWriter writer(std::string(kMediaDirectory) + name, {kMethodLh5, 0});
    int index = 0;
    for (const auto& [size, destination] : members) {
      const std::string member = "M" + std::to_string(index++) + ".DAT";
      qmtest::WriteFileText(machine_.DriveC() / "MEDIA" / "members" / member, std::string(size, 'q'));
      ArchiveMember entry(std::string(kMediaDirectory) + "members\\" + member);
      entry.destinationId = destination;
      writer.Add(entry);
    }
    writer.Finish();
  }

  void ComputeTotals(bool international = false) {
    ComputeSetupTypeTotals(totals_, groups_, sources_, destinations_, kMediaDirectory, international);
  }

  CDestinationTable destinations_;
  CGroupTable groups_;
  CSourceFileList sources_;
  SpaceTotals totals_;
};

TEST_F(SpaceSurveyTest, FilesUnderFixedDirectoriesCountTowardsTheWindowsPart) {
  Load(
      "[destinations]\n"
      "0=QMW2||C:\\QMW2\n"
      "1=DATA|0|\n"
      "2=FONTS|-2|\n"
      "3=TRUETYPE|2|\n"
      "[groups]\n"
      "Main=Main|M|1|1|1\n"
      "[Main]\n"
      "QM.EXE=1000|0|1|1|0|\n"
      "QM.DLL=200|0|1|1|-2|\n"
      "DATA.BIN=30|0|1|1|1|\n"
      "A.TTF=4|0|1|1|3|\n");
  EXPECT_FALSE(IsWindowsPart(destinations_, 1));
  EXPECT_TRUE(IsWindowsPart(destinations_, 3));
  EXPECT_TRUE(IsWindowsPart(destinations_, -3));

  ComputeTotals();
  const SpaceParts& minimum = totals_.For(SetupType::Minimum);
  EXPECT_EQ(minimum.total, 1234);
  EXPECT_EQ(minimum.underInstall, 1030);
  EXPECT_EQ(minimum.underWindows, 204);
}

TEST_F(SpaceSurveyTest, ArchivesCountEveryEntryWithItsUncompressedSizeAndDestination) {
  MakeArchive("DATA.ARC", {{5000, 0}, {3000, -2}, {700, 2}, {0, 0}});
  Load(
      "[destinations]\n"
      "0=QMW2||C:\\QMW2\n"
      "2=FONTS|-2|\n"
      "[groups]\n"
      "Fonts=Fonts|F|0|1|1\n"
      "[Fonts]\n"
      "DATA.ARC=99|1|4|1|0|\n"
      "DISK2.ARC=123|1|4|2|-3|\n"
      "ODD.BIN=55|7|1|1|0|\n");
  ComputeTotals();
  EXPECT_EQ(totals_.For(SetupType::Minimum).total, 0);
  const SpaceParts& typical = totals_.For(SetupType::Typical);
  // The archive by its entries; the archive on a later diskette by its line;
  // the source of an unknown kind, which installs nothing, not at all.
  EXPECT_EQ(typical.underInstall, 5000);
  EXPECT_EQ(typical.underWindows, 3000 + 700 + 123);
  EXPECT_EQ(typical.total, 5000 + 3000 + 700 + 123);
  EXPECT_EQ(totals_.For(SetupType::Custom).total, typical.total);
}

TEST_F(SpaceSurveyTest, ADamagedArchiveIsReportedNotCountedAsEmpty) {
  WriteMedia("BAD.ARC", "not an archive at all");
  Load(
      "[destinations]\n0=QMW2||C:\\QMW2\n"
      "[groups]\nMain=Main|M|1|1|1\n"
      "[Main]\nBAD.ARC=10|1|1|1|0|\n");
  EXPECT_ANY_THROW(ComputeTotals());
}

TEST_F(SpaceSurveyTest, MainAndPremadeLeaveTheCustomListAndTheCountryTemplatesJoinEveryTotal) {
  Load(
      "[destinations]\n0=QMW2||C:\\QMW2\n"
      "[groups]\n"
      "Main=Main|M|1|1|1\n"
      "premade=Premade|P|0|1|1\n"
      "program=Program|Pr|0|0|1\n"
      "ustpls=US|U|0|0|0\n"
      "Inttpls=Intl|I|0|0|0\n"
      "[Main]\nQM.EXE=100|0|1|1|0|\n"
      "[premade]\nP.LBL=10|0|1|1|0|\n"
      "[program]\nPR.EXE=1|0|1|1|0|\n"
      "[ustpls]\nUS1.TPL=3000|0|1|1|0|\nUS2.TPL=3000|0|1|1|0|\n"
      "[Inttpls]\nINT.TPL=50000|0|1|1|0|\n");
  ComputeTotals(false);
  EXPECT_EQ(totals_.For(SetupType::Minimum).total, 100 + 6000);
  EXPECT_EQ(totals_.For(SetupType::Minimum).underInstall, 100) << "the templates join the whole install only";
  EXPECT_EQ(totals_.For(SetupType::Typical).total, 110 + 6000);
  EXPECT_EQ(totals_.For(SetupType::Custom).total, 111 + 6000) << "flags are cleared after counting";
  EXPECT_EQ(groups_.Find("Main")->customFlag, 0);
  EXPECT_EQ(groups_.Find("premade")->customFlag, 0);
  EXPECT_EQ(groups_.Find("program")->customFlag, 1);
  EXPECT_EQ(groups_.Find("ustpls")->space, 6000);

  SpaceTotals international;
  ComputeSetupTypeTotals(international, groups_, sources_, destinations_, kMediaDirectory, true);
  EXPECT_EQ(international.For(SetupType::Minimum).total, 100 + 50000);
}

TEST_F(SpaceSurveyTest, CustomTotalsFollowTheGroupsToBeInstalled) {
  MakeArchive("FONTS.ARC", {{2048000, -2}});
  Load(
      "[destinations]\n0=QMW2||C:\\QMW2\n"
      "[groups]\nMain=Main|M|1|1|0\nFonts=Fonts|F|0|1|1\n"
      "[Main]\nQM.EXE=1024000|0|1|1|0|\n"
      "[Fonts]\nFONTS.ARC=1|1|1|1|0|\n");
  groups_.Find("Main")->install = 1;
  totals_.Add(SetupType::Custom, 999, false);  // a stale sum is replaced
  ComputeCustomTotals(totals_, sources_, destinations_, kMediaDirectory);
  EXPECT_EQ(MegabytesText(totals_.For(SetupType::Custom).total), "1MB");

  groups_.Find("Fonts")->install = 1;
  ComputeCustomTotals(totals_, sources_, destinations_, kMediaDirectory);
  EXPECT_EQ(totals_.For(SetupType::Custom).total, 1024000 + 2048000);
  EXPECT_EQ(totals_.For(SetupType::Custom).underWindows, 2048000);
  // The group's own space is what the tables file says, kept once worked out.
  EXPECT_EQ(GroupSpace(groups_.Find("Fonts"), sources_), 1);
  EXPECT_EQ(GroupSpace(nullptr, sources_), 0);
}

}  // namespace
