// The copy loop: sources in diskette order, a volume continued on the next
// diskette, Cancel during an extraction, failed sources with Continue and
// Cancel, and the progress ticks.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "install/copy/file_copy.h"
#include "install/tables/diskette_table.h"
#include "install/tables/group_table.h"
#include "install/tables/source_file_list.h"
#include "tests/install/archive/archive_test_support.h"
#include "tests/install/copy/copy_test_support.h"
#include "tests/install/copy/scripted_copy_ui.h"

namespace {

using namespace copy_test;

class FileCopyTest : public CopyTest {
 protected:
  FileCopyTest() {
    main_ = &AddGroup("Main", 1);
    extra_ = &AddGroup("Extra", 0);
  }

  CGroup& AddGroup(const std::string& name, int install) {
    auto group = std::make_unique<CGroup>();
    group->name = name;
    group->install = install;
    return groups_.Add(std::move(group));
  }
  // A source as the tables file lists it: "size|kind|count|disk|destination|text".
  void AddSource(const std::string& name, const std::string& value, CGroup* group = nullptr) {
    sources_.Insert(CSourceFile::FromTableLine(name, value, group ? group : main_));
  }
  CopyOutcome Run(FileDoneHook fileDone = {}) {
    CopySettings settings;
    settings.destinations = &destinations_;
    settings.diskettes = &diskettes_;
    settings.sourceDirectory = "C:\\MEDIA";
    settings.logFile = kLog;
    settings.fileDone = std::move(fileDone);
    copy_ = std::make_unique<CFileCopy>(std::move(settings), ui_);
    return copy_->CopyAllSources(sources_);
  }
  // Moves a media file elsewhere, as if it were on another diskette.
  static void MoveAway(const std::string& from, const std::string& to) {
    fs::create_directories(Host(to).parent_path());
    fs::rename(Host(from), Host(to));
  }

  CGroupTable groups_;
  CGroup* main_ = nullptr;
  CGroup* extra_ = nullptr;
  CSourceFileList sources_;
  CDisketteTable diskettes_;
  ScriptedCopyUi ui_;
  std::unique_ptr<CFileCopy> copy_;
};

TEST_F(FileCopyTest, CopiesInstalledGroupsInDiskOrderWithLateSourcesLast) {
  for (const char* name : {"D2.TXT", "L1.TXT", "A1.TXT", "X1.TXT", "B1.TXT"}) Put(std::string("C:\\MEDIA\\") + name, name);
  AddSource("D2.TXT", "6|0|1|2|0|");
  AddSource("L1.TXT", "6|0|1|-1|0|");
  AddSource("A1.TXT", "6|0|1|1|0|");
  AddSource("X1.TXT", "6|0|1|1|0|", extra_);
  AddSource("B1.TXT", "6|0|1|1|0|");

  EXPECT_EQ(CFileCopy::TotalSize(sources_), 24u);
  EXPECT_EQ(Run(), CopyOutcome::Completed);
  EXPECT_EQ(ui_.sources, (std::vector<std::string>{"A1.TXT", "B1.TXT", "L1.TXT", "D2.TXT"}));
  EXPECT_EQ(Names("C:\\APP"), (std::set<std::string>{"A1.TXT", "B1.TXT", "D2.TXT", "L1.TXT"}));
  EXPECT_EQ(Get("C:\\APP\\L1.TXT"), "L1.TXT");
  EXPECT_EQ(LogLine("Main", "D2.TXT"), "0|1|0");
  EXPECT_EQ(copy_->Completed(), 24u);
  EXPECT_TRUE(ui_.prompts.empty());
  EXPECT_TRUE(ui_.reports.empty());
}

TEST_F(FileCopyTest, PlainSourceIsCopiedWholeWhateverSizeTheTablesGive) {
  Put("C:\\MEDIA\\TEN.TXT", "0123456789");
  AddSource("TEN.TXT", "4|0|1|1|1|");
  EXPECT_EQ(Run(), CopyOutcome::Completed);
  EXPECT_EQ(Get("C:\\APP\\SUB\\TEN.TXT"), "0123456789");
}

TEST_F(FileCopyTest, EveryCompletedFileReachesTheHookPlacedOrKept) {
  Put("C:\\MEDIA\\NEW.TXT", "new");
  Put("C:\\MEDIA\\KEPT.TXT", "kept", kOld);
  Put("C:\\APP\\KEPT.TXT", "installed", 0xF0000000);  // plain sources carry their creation time
  AddSource("NEW.TXT", "3|0|1|1|0|");
  AddSource("KEPT.TXT", "4|0|1|1|0|");
  std::vector<std::string> done;
  EXPECT_EQ(Run([&](const CArchiveEntry& entry) { done.push_back(entry.DestinationPath()); }),
            CopyOutcome::Completed);
  EXPECT_EQ(done, (std::vector<std::string>{"C:\\APP\\NEW.TXT", "C:\\APP\\KEPT.TXT"}));
  EXPECT_EQ(LogLine("Main", "KEPT.TXT"), "0|0|0");
}

// An archive whose big entry runs from DATA.1 onto further volumes, each on
// the diskette after the one before: each prompt asks for that next disk, and
// the answer that puts the volume in place resumes the same entry.
class VolumeSwitchTest : public FileCopyTest {
 protected:
  void MakeSpanningArchive() {
    big_ = archive_test::SampleBytes(30000, 3);
    Put("C:\\STAGE\\BIG.DAT", big_, kNew);
    Put("C:\\STAGE\\SMALL.TXT", "small", kNew);
    const auto volumes = MakeArchive("C:\\MEDIA\\DATA.1", {{"BIG.DAT", 0}, {"SMALL.TXT", 0}}, 12000);
    ASSERT_GE(volumes.size(), 3u);
    for (std::size_t i = 1; i < volumes.size(); ++i) {
      const std::string name(volumes[i].substr(volumes[i].find_last_of('\\') + 1));
      MoveAway(volumes[i], "C:\\DISK2\\" + name);
      away_.push_back(name);
    }
    AddSource("DATA.1", "30005|1|2|1|0|");
  }
  std::string big_;
  std::vector<std::string> away_;
};

TEST_F(VolumeSwitchTest, AsksForTheNextDiskAndResumesTheSameEntry) {
  MakeSpanningArchive();
  std::size_t inserted = 0;
  ui_.onDiskette = [&](const DiskettePrompt&) {
    const std::string name = away_.at(inserted++);
    MoveAway("C:\\DISK2\\" + name, "C:\\MEDIA\\" + name);
    return true;
  };
  EXPECT_EQ(Run(), CopyOutcome::Completed);
  ASSERT_EQ(ui_.prompts.size(), away_.size());
  for (std::size_t i = 0; i < ui_.prompts.size(); ++i) EXPECT_EQ(ui_.prompts[i].diskNumber, static_cast<int>(2 + i));
  EXPECT_EQ(ui_.prompts[0].text, "Please insert the diskette labelled 'Diskette 2' in drive C:");
  EXPECT_EQ(Get("C:\\APP\\BIG.DAT"), big_);
  EXPECT_EQ(Get("C:\\APP\\SMALL.TXT"), "small");
  EXPECT_EQ(LogLine("Main", "BIG.DAT"), "0|1|0");
  EXPECT_TRUE(ui_.reports.empty());
}

TEST_F(VolumeSwitchTest, CancelAtThePromptEndsTheRunWithoutAReportOrAStrayFile) {
  MakeSpanningArchive();
  Put("C:\\MEDIA\\LATER.TXT", "later");
  AddSource("LATER.TXT", "5|0|1|3|0|");
  EXPECT_EQ(Run(), CopyOutcome::Cancelled);
  EXPECT_EQ(ui_.prompts.size(), 1u);
  EXPECT_TRUE(ui_.reports.empty());
  EXPECT_TRUE(Names("C:\\APP").empty());
  EXPECT_EQ(LogLine("Main", "BIG.DAT"), "");
  EXPECT_EQ(ui_.sources, std::vector<std::string>{"DATA.1"});
}

TEST_F(FileCopyTest, ConfirmedCancelAbortsALongExtraction) {
  Put("C:\\STAGE\\BIG.DAT", archive_test::SampleBytes(200000, 5), kNew);
  MakeArchive("C:\\MEDIA\\DATA.1", {{"BIG.DAT", 0}});
  Put("C:\\MEDIA\\LATER.TXT", "later");
  AddSource("DATA.1", "200000|1|1|1|0|");
  AddSource("LATER.TXT", "5|0|1|1|0|");
  // The first poll is before the source, the second between entries, the rest at ticks.
  ui_.cancelAtPoll = 6;

  EXPECT_EQ(Run(), CopyOutcome::Cancelled);
  EXPECT_EQ(ui_.polls, 6);
  EXPECT_EQ(ui_.ticks.size(), 3u);
  EXPECT_TRUE(ui_.reports.empty());
  EXPECT_TRUE(Names("C:\\APP").empty());
  EXPECT_EQ(ui_.sources, std::vector<std::string>{"DATA.1"});
}

TEST_F(FileCopyTest, TicksEveryFourKilobytesWithTheCompletedCount) {
  Put("C:\\STAGE\\A.DAT", archive_test::SampleBytes(10000, 1), kNew);
  Put("C:\\STAGE\\B.DAT", archive_test::SampleBytes(10000, 2), kNew);
  MakeArchive("C:\\MEDIA\\DATA.1", {{"A.DAT", 0}, {"B.DAT", 0}});
  AddSource("DATA.1", "20000|1|2|1|0|");

  EXPECT_EQ(Run(), CopyOutcome::Completed);
  EXPECT_EQ(copy_->Completed(), 20000u);
  // About 20,700 bytes read in all: a tick at each 4096 that falls inside a file.
  ASSERT_GE(ui_.ticks.size(), 4u);
  ASSERT_LE(ui_.ticks.size(), 5u);
  uint64_t last = 0;
  for (const auto& [position, path] : ui_.ticks) {
    EXPECT_GE(position, last);
    EXPECT_LE(position, 20000u);
    last = position;
    EXPECT_TRUE(path == "C:\\APP\\A.DAT" || path == "C:\\APP\\B.DAT") << path;
  }
  EXPECT_EQ(ui_.ticks.back().second, "C:\\APP\\B.DAT");
  EXPECT_GE(ui_.ticks.back().first, 10000u);  // A.DAT counts as completed
}

struct FailedSourceCase {
  const char* name;
  bool continueAfterReport;
  CopyOutcome outcome;
  bool laterInstalled;
};
void PrintTo(const FailedSourceCase& c, std::ostream* os) { *os << c.name; }

class FailedSourceTest : public FileCopyTest, public ::testing::WithParamInterface<FailedSourceCase> {};

TEST_P(FailedSourceTest, IsReportedWithItsName) {
  const FailedSourceCase& c = GetParam();
  Put("C:\\MEDIA\\LATER.TXT", "later");
  AddSource("MISSING.1", "10|1|1|1|0|");
  AddSource("LATER.TXT", "5|0|1|1|0|");
  ui_.onDiskette = [](const DiskettePrompt&) { return true; };  // OK, but the file stays missing
  ui_.continueAfterReport = c.continueAfterReport;

  EXPECT_EQ(Run(), c.outcome);
  ASSERT_EQ(ui_.reports.size(), 1u);
  EXPECT_EQ(ui_.reports[0].contextLine, "Cannot install files from 'MISSING.1':");
  EXPECT_TRUE(ui_.reports[0].continuationAllowed);
  EXPECT_EQ(Exists("C:\\APP\\LATER.TXT"), c.laterInstalled);
}

INSTANTIATE_TEST_SUITE_P(Answers, FailedSourceTest,
                         ::testing::Values(FailedSourceCase{"Continue", true, CopyOutcome::Completed, true},
                                           FailedSourceCase{"Cancel", false, CopyOutcome::Cancelled, false}),
                         [](const ::testing::TestParamInfo<FailedSourceCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(FileCopyTest, DamagedArchiveKeepsTheFilesBeforeTheDamageAndReportsOnce) {
  Put("C:\\STAGE\\GOOD.TXT", "good", kNew);
  MakeArchive("C:\\MEDIA\\DATA.1", {{"GOOD.TXT", 0}});
  // A second entry whose data stops short.
  const std::string archive = Get("C:\\MEDIA\\DATA.1") +
                              archive_test::EntryBytes(archive_test::Entry("CUT.TXT", "abc").Compressed(50).Uncompressed(50));
  Put("C:\\MEDIA\\DATA.1", archive);
  AddSource("DATA.1", "54|1|2|1|0|");
  EXPECT_EQ(Run(), CopyOutcome::Completed);
  EXPECT_EQ(ui_.reports.size(), 1u);
  EXPECT_EQ(Names("C:\\APP"), std::set<std::string>{"GOOD.TXT"});
  EXPECT_EQ(LogLine("Main", "GOOD.TXT"), "0|1|0");
}

// Damage no checksum covers must not pass for a complete archive: a fragment of
// a header after the last entry (a cut archive, or an entry size that points
// into the next header), or an entry name that no file can have, is reported
// naming the archive, and nothing of it is placed.
TEST_F(FileCopyTest, HeaderDamageThatWouldLoseFilesSilentlyIsReported) {
  Put("C:\\STAGE\\GOOD.TXT", "good", kNew);
  MakeArchive("C:\\MEDIA\\DATA.1", {{"GOOD.TXT", 0}});
  const std::string good = Get("C:\\MEDIA\\DATA.1");
  const std::string next = archive_test::EntryBytes(archive_test::Entry("NEXT.TXT", "next"));
  struct Case {
    std::string what;
    std::string archive;
  };
  std::vector<Case> cases = {{"a header cut after 1 byte", good + next.substr(0, 1)},
                             {"a header cut after 345 bytes", good + next.substr(0, 345)}};
  for (const char* name : {"", ".", "..", "SUB\\..", "A*B.TXT", "A?B", "A|B", "A<B>", "A\"B", "TAB\tX"}) {
    cases.push_back({std::string("name '") + name + "'", good + archive_test::EntryBytes(archive_test::Entry(name, "bad"))});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Put("C:\\MEDIA\\DATA.1", c.archive);
    const auto source = CSourceFile::FromTableLine("DATA.1", "7|1|2|1|0|", main_);
    ScriptedCopyUi ui;
    CopySettings settings;
    settings.destinations = &destinations_;
    settings.diskettes = &diskettes_;
    settings.sourceDirectory = "C:\\MEDIA";
    settings.logFile = kLog;
    CFileCopy copy(std::move(settings), ui);
    copy.CopySource(*source);
    ASSERT_EQ(ui.reports.size(), 1u);
    EXPECT_EQ(ui.reports[0].contextLine, "Cannot install files from 'DATA.1':");
    EXPECT_EQ(ui.reports[0].shortText, "Archive file damaged (missing entry header).");
    EXPECT_EQ(Names("C:\\APP"), std::set<std::string>{"GOOD.TXT"});
    fs::remove(Host("C:\\APP\\GOOD.TXT"));
  }
}

}  // namespace
