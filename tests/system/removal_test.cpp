// The removal's work on a hand-written install log: which logged files go and
// which stay, their program items, the settings file, the log itself and the
// emptied directories, and the order against the profile's removal commands.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "install/tables/destination_table.h"
#include "install/tables/group_table.h"
#include "options/user_messages.h"
#include "platform/fs/file_ops.h"
#include "profile/profile_tree.h"
#include "system/command_list.h"
#include "system/registry_entry_list.h"
#include "system/removal.h"
#include "system/target_table.h"
#include "tests/common/start_menu_seed.h"
#include "tests/common/temp_machine.h"

namespace {

namespace fs = std::filesystem;

class NoMessages : public UserMessages {
 public:
  void ShowMessage(const std::string& text) override { FAIL() << text; }
};

class RecordingProgress : public RemovalProgress {
 public:
  void ShowPath(const std::string& path) override {
    paths.push_back(path);
    if (cancelAfter > 0 && paths.size() >= cancelAfter) cancelled = true;
  }
  void SetPercent(int percent) override { percents.push_back(percent); }
  bool Cancelled() override { return cancelled; }

  std::vector<std::string> paths;
  std::vector<int> percents;
  std::size_t cancelAfter = 0;
  bool cancelled = false;
};

// The outer directory is listed first, so it can go only in a later round.
constexpr const char* kLog =
    "[destinations]\n0=QMW2||C:\\QMW2\\\n1=WORK|0|C:\\QMW2\\WORK\\\n3=DEEP|1|C:\\QMW2\\WORK\\DEEP\\\n"
    "1000=COMMON||C:\\COMMON\\\n"
    "[groups]\nMain=Main|M|1|1|1\nprogram=Program|P|1|1|1\n"
    "[Main]\nQMW.EXE=0|1|0\nSHARED.DLL=0|0|0\nLOCKED.TXT=3|1|1\nCOMMON.DLL=1000|1|0\nLOST.TXT=77|1|0\n"
    "[program]\nQMW2.INS=1|1|0\n"
    "[targets]\nQMW.EXE=0|0|0|Quillmark 2.0|||C:\\QMW2\\QMW.EXE\n"
    "COMMON.DLL=0|0|0|Common|||C:\\COMMON\\COMMON.DLL\nLOCKED.TXT=0|0|0|Elsewhere|||C:\\OTHER\\LOCKED.TXT\n"
    "[PMGroup]\npmgroup=QM2\n";

class RemovalTest : public ::testing::Test {
 protected:
  RemovalTest() {
    qmtest::SeedStartMenu(machine_, {"QM2"});
    for (const char* file : {"QMW2/QMW.EXE", "QMW2/SHARED.DLL", "QMW2/WORK/DEEP/LOCKED.TXT", "COMMON/COMMON.DLL",
                             "QMW2/WORK/QMW2.INS", "QMW2/WORK/qmw2.ini", "WINDOWS/Start Menu/Programs/QM2/Quillmark 2.0.lnk",
                             "WINDOWS/Start Menu/Programs/QM2/Common.lnk", "WINDOWS/Start Menu/Programs/QM2/Elsewhere.lnk",
                             "WINDOWS/qmw2.ini", "LOST.TXT"}) {
      qmtest::WriteFileText(Host(file), "x");
    }
    platform::SetFileAttributes("C:\\QMW2\\WORK\\DEEP\\LOCKED.TXT", platform::kAttrReadOnly);
    qmtest::WriteFileText(Host("WINDOWS/Qmw.log"), kLog);
    destinations_.Load(kLogFile);
    groups_.Load(kLogFile);
    targets_.LoadTargets(kLogFile);
  }

  fs::path Host(const std::string& path) const { return machine_.DriveC() / path; }

  RemovalOutcome Remove(RecordingProgress& progress, const std::string& profileText = {}) {
    if (!profileText.empty()) {
      ProfileSection section("Execute");
      for (const auto& [name, value] : std::vector<std::pair<std::string, std::string>>{
               {"Command", "C:\\LIST.BAT"}, {"option", "-1"}, {"arg", "LIST"}, {"arg", "@0@"}}) {
        section.AddKey(name);
        section.AddValue(value);
      }
      commands_.AddCommandEntry(section);
      qmtest::WriteFileText(Host("LIST.BAT"), profileText);
    }
    RemovalWork work{destinations_, groups_, targets_, registry_, commands_, kLogFile, "C:\\QMW2\\",
                     {"QM2", "C:\\QMW2\\", false, false}};
    NoMessages messages;
    return RemoveInstallation(work, progress, nullptr, messages);
  }

  static constexpr const char* kLogFile = "C:\\WINDOWS\\Qmw.log";
  qmtest::TempMachineRoot machine_;
  CDestinationTable destinations_;
  CGroupTable groups_;
  CTargetTable targets_;
  CRegistryEntryList registry_;
  CCommandList commands_;
};

TEST_F(RemovalTest, TakesAwayWhatTheInstallPlacedAndKeepsWhatItFoundOrShares) {
  RecordingProgress progress;
  // The removal command runs before any file goes: it lists the install directory.
  ASSERT_EQ(Remove(progress, "#!/bin/sh\nls \"$(dirname \"$0\")/QMW2\" > \"$(dirname \"$0\")/SEEN\"\n"),
            RemovalOutcome::Done);
  EXPECT_EQ(qmtest::ReadFileText(Host("SEEN")), "QMW.EXE\nSHARED.DLL\nWORK\n");

  const struct {
    const char* path;
    bool remains;
  } expected[] = {
      {"QMW2/QMW.EXE", false},
      {"QMW2/SHARED.DLL", true},            // found newer and kept: another program's
      {"QMW2/WORK/DEEP/LOCKED.TXT", false},  // read-only, and replaced by the install
      {"QMW2/WORK/DEEP", false},             // nested directories, from the inside out
      {"COMMON/COMMON.DLL", true},           // a shared place (1000 and above)
      {"LOST.TXT", true},                    // its destination is not in the log
      {"QMW2/WORK/QMW2.INS", false},
      {"QMW2/WORK/qmw2.ini", false},         // the settings file where the install wrote it
      {"WINDOWS/qmw2.ini", true},
      {"WINDOWS/Qmw.log", false},
      {"WINDOWS/Start Menu/Programs/QM2/Quillmark 2.0.lnk", false},
      {"WINDOWS/Start Menu/Programs/QM2/Common.lnk", false},  // the file stays, its item goes
      {"WINDOWS/Start Menu/Programs/QM2/Elsewhere.lnk", true},  // an item of another file of that name
      {"WINDOWS/TEMP", true},                 // the machine's own directories stay, even empty
  };
  for (const auto& e : expected) EXPECT_EQ(fs::exists(Host(e.path)), e.remains) << e.path;
  // The install directory holds the kept file, so it stays.
  EXPECT_TRUE(fs::exists(Host("QMW2")));
  EXPECT_EQ(progress.percents, (std::vector<int>{20, 40, 60, 80, 100}));
  EXPECT_EQ(progress.paths.front(), "C:\\QMW2\\QMW.EXE");
  EXPECT_EQ(progress.paths.size(), 5u);  // every file with a known place, in group and file order
}

TEST_F(RemovalTest, ACancelStopsBeforeTheNextFileAndKeepsTheLog) {
  RecordingProgress progress;
  progress.cancelAfter = 1;
  EXPECT_EQ(Remove(progress), RemovalOutcome::Cancelled);
  EXPECT_FALSE(fs::exists(Host("QMW2/QMW.EXE")));
  EXPECT_TRUE(fs::exists(Host("QMW2/WORK/QMW2.INS")));
  // A later removal can still finish the work.
  EXPECT_TRUE(fs::exists(Host("WINDOWS/Qmw.log")));
}

}  // namespace
