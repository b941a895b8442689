// The removal plan: what a removal run would do with an install log, worked
// out from hand-made logs on a throwaway machine.

#include "system/removal_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/profile/cut_append.h"
#include "tests/common/temp_machine.h"

namespace {

namespace fs = std::filesystem;
using qmtest::WriteFileText;

constexpr const char* kLog = "C:\\WINDOWS\\Qmw.log";

class RemovalPlanTest : public ::testing::Test {
 protected:
  fs::path Host(const std::string& relativeToC) const { return machine_.DriveC() / relativeToC; }
  void WriteLog(const std::string& text) const { WriteFileText(Host("WINDOWS/Qmw.log"), text); }
  void Touch(const std::string& relativeToC) const { WriteFileText(Host(relativeToC), "x"); }

  RemovalPlan Plan(const std::string& profile = {}) const { return PlanRemoval({kLog, profile, {}}); }

  qmtest::TempMachineRoot machine_;
};

bool AnyContains(const std::vector<std::string>& texts, const std::string& part) {
  return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) { return t.find(part) != std::string::npos; });
}

const PlannedGroup* FindGroup(const RemovalPlan& plan, const std::string& name) {
  for (const PlannedGroup& group : plan.groups) {
    if (group.name == name) return &group;
  }
  return nullptr;
}

TEST_F(RemovalPlanTest, DeletesOnlyWhatTheInstallPlacedWhereTheLogSaysItIs) {
  WriteLog(
      "[destinations]\n0=QMW2||C:\\QMW2\n1=WORK|0|C:\\QMW2\\WORK\n1000=SHARED||C:\\SHARED\n"
      "[groups]\nMain=Main|d|1|1|1\nFonts=Fonts|d|0|1|1\n"
      "[Main]\nNEW.EXE=0|1|0\nOLDER.DLL=0|1|1\nNEWER.DLL=0|0|0\nSHARED.DLL=1000|1|0\nLOST.DLL=55|1|0\n"
      "SYS.DLL=-3|1|0\nBAD.DLL=x|1|0\n");
  Touch("QMW2/NEW.EXE");
  const struct {
    const char* name;
    const char* path;
    LoggedFileFate fate;
    bool present;
  } expected[] = {
      {"NEW.EXE", "C:\\QMW2\\NEW.EXE", LoggedFileFate::Delete, true},
      {"OLDER.DLL", "C:\\QMW2\\OLDER.DLL", LoggedFileFate::Delete, false},
      {"NEWER.DLL", "C:\\QMW2\\NEWER.DLL", LoggedFileFate::KeepNotPlaced, false},
      {"SHARED.DLL", "C:\\SHARED\\SHARED.DLL", LoggedFileFate::KeepSharedPlace, false},
      {"LOST.DLL", "", LoggedFileFate::KeepUnknownPlace, false},
      // The machine's own directories are known without the log naming them.
      {"SYS.DLL", "C:\\WINDOWS\\SYSTEM\\SYS.DLL", LoggedFileFate::Delete, false},
      // No digits: destination 0, as the removal reads it, and said.
      {"BAD.DLL", "C:\\QMW2\\BAD.DLL", LoggedFileFate::Delete, false},
  };

  const RemovalPlan plan = Plan();
  ASSERT_TRUE(plan.logFound);
  const PlannedGroup* main = FindGroup(plan, "Main");
  ASSERT_NE(main, nullptr);
  ASSERT_EQ(main->files.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(main->files[i].logged.name, expected[i].name);
    EXPECT_EQ(main->files[i].path, expected[i].path);
    EXPECT_EQ(main->files[i].fate, expected[i].fate);
    EXPECT_EQ(main->files[i].present, expected[i].present);
  }
  EXPECT_TRUE(AnyContains(plan.problems, "\"BAD.DLL\"")) << ::testing::PrintToString(plan.problems);
  const PlannedGroup* fonts = FindGroup(plan, "Fonts");
  ASSERT_NE(fonts, nullptr);
  EXPECT_FALSE(fonts->hasSection);

  // The settings file of the working directory and the log go too.
  EXPECT_EQ(PlannedDeletions(plan),
            (std::vector<std::string>{"C:\\QMW2\\NEW.EXE", "C:\\QMW2\\OLDER.DLL", "C:\\WINDOWS\\SYSTEM\\SYS.DLL",
                                      "C:\\QMW2\\BAD.DLL", "C:\\QMW2\\WORK\\qmw2.ini", kLog}));
  EXPECT_TRUE(AnyContains(plan.problems, "C:\\QMW2\\cv_setup.ini does not exist"));
}

TEST_F(RemovalPlanTest, ProgramItemGoesOnlyWithTheFileItStarts) {
  WriteLog(
      "[PMGroup]\npmgroup=Quillmark 2.0\n"
      "[destinations]\n0=QMW2||C:\\QMW2\n1000=SHARED||C:\\SHARED\n"
      "[groups]\nMain=Main|d|1|1|1\n"
      "[targets]\n"
      "QMW.EXE=0|-1|0|Quillmark 2.0||QMW.EXE|c:\\qmw2\\qmw.exe\n"
      "QMW.HLP=0|-1|0|Help||QMW.EXE|C:\\ELSEWHERE\\QMW.HLP\n"
      "VIEW.EXE=0|-1|0|Viewer||VIEW.EXE|C:\\SHARED\\VIEW.EXE\n"
      "NOTINSTALLED.EXE=0|-1|0|Not installed|||\n"
      "BROKEN.EXE=zz\n"
      "[Main]\nQMW.EXE=0|1|0\nQMW.HLP=0|1|0\nVIEW.EXE=1000|1|0\nREADME.TXT=0|1|0\nBROKEN.EXE=0|1|0\n");
  const struct {
    const char* file;
    const char* item;
  } expected[] = {
      {"QMW.EXE", "Quillmark 2.0"},  // the command path differs only in letter case
      {"QMW.HLP", ""},               // the target starts a file of that name elsewhere
      {"VIEW.EXE", "Viewer"},        // kept in a shared place, its item still goes
      {"README.TXT", ""},            // no target
      {"BROKEN.EXE", ""},            // its target has no command path
  };

  const RemovalPlan plan = Plan();
  EXPECT_EQ(plan.programFolder, "Quillmark 2.0");
  ASSERT_EQ(plan.groups.size(), 1u);
  ASSERT_EQ(plan.groups[0].files.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(plan.groups[0].files[i].programItem, expected[i].item) << expected[i].file;
  }
  ASSERT_EQ(plan.programItems.size(), 2u);
  EXPECT_EQ(plan.programItems[1].itemName, "Viewer");
  EXPECT_EQ(plan.programItems[1].file, "C:\\SHARED\\VIEW.EXE");
  // An empty command is a target whose file was not installed, not a fault.
  EXPECT_TRUE(AnyContains(plan.problems, "\"BROKEN.EXE\" does not read"));
  EXPECT_FALSE(AnyContains(plan.problems, "NOTINSTALLED"));
}

TEST_F(RemovalPlanTest, RegistryKeysGoNewestFirstThenTheProfilesMarkedOnes) {
  WriteLog(
      "[destinations]\n0=QMW2||C:\\QMW2\n"
      "[Registry]\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane=x\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quillmark=x\n"
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quillmark\\2.0=x\nHKEY_CURRENT_USER\\Software\\Corvane=x\n");
  WriteFileText(Host("QMW2/cv_setup.ini"),
                "[Registry]\nkey = HKEY_CURRENT_USER\\Software\\Corvane\\Quillmark\\2.0\noption = -1\n"
                "[registry]\nkey = HKEY_LOCAL_MACHINE\\SOFTWARE\\Kept\noption = 0\n"
                "[Registry]\nkey = HKEY_LOCAL_MACHINE\\SOFTWARE\\Never\n"
                "[Registry]\nkey = HKEY_CURRENT_USER\noption = -1\n"
                "[REGISTRY]\nkey = HKEY_NOWHERE\\Software\\X\noption = -1\n");

  const RemovalPlan plan = Plan();
  EXPECT_EQ(plan.loggedKeys,
            (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Corvane",
                                      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quillmark\\2.0",
                                      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quillmark",
                                      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane"}));
  const struct {
    const char* deleted;
    bool deletable;
  } expected[] = {{"2.0", true}, {"HKEY_CURRENT_USER", false}, {"X", false}};
  ASSERT_TRUE(plan.profileFound);
  ASSERT_EQ(plan.markedKeys.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(plan.markedKeys[i].deletedKey, expected[i].deleted);
    EXPECT_EQ(plan.markedKeys[i].deletable, expected[i].deletable) << expected[i].deleted;
  }
}

TEST_F(RemovalPlanTest, RemovalCommandsAreTheMinusOneOnesWithTheirMacrosPutIn) {
  WriteLog("[destinations]\n0=QMW2||C:\\QMW2\n1=WORK|0|C:\\QMW2\\WORK\n");
  WriteFileText(Host("QMW2/cv_setup.ini"),
                "[Execute]\nCommand = @0@\\CLEAN.EXE\narg = CLEAN.EXE\narg = @1@\narg = @-2@\\WIN.INI\n"
                "arg = @LaunchDrive@\narg = @-5@\narg = \"say ''hi''\"\noption = -1\n"
                "[Execute]\nCommand = C:\\AFTERCOPY.EXE\noption = 0\n"
                "[Execute]\nCommand = C:\\NEVER.EXE\noption = 1\n"
                "[Execute]\nCommand = C:\\NOOPTION.EXE\n"
                "[EXECUTE]\noption = -1\nCommand = C:\\MAIL.EXE\narg = me@example\n");

  const RemovalPlan plan = Plan();
  ASSERT_EQ(plan.commands.size(), 2u);
  EXPECT_EQ(plan.commands[0].command, "C:\\QMW2\\CLEAN.EXE");
  EXPECT_EQ(plan.commands[0].arguments,
            (std::vector<std::string>{"CLEAN.EXE", "C:\\QMW2\\WORK", "C:\\WINDOWS\\WIN.INI", "C:\\QMW2\\",
                                      "C:\\QMW2", "say \"hi\""}));
  EXPECT_TRUE(plan.commands[0].messages.empty());
  // An "@" that starts no macro is what the removal would complain about.
  EXPECT_EQ(plan.commands[1].command, "C:\\MAIL.EXE");
  ASSERT_EQ(plan.commands[1].messages.size(), 1u);
  EXPECT_EQ(plan.commands[1].messages[0], "Error in macro in line -> me@example");
}

TEST_F(RemovalPlanTest, DirectoriesAreTriedInnermostFirstAndSaidEmptyOnlyWhenNothingStays) {
  // Outer directories first in the table: the order must not depend on it.
  WriteLog(
      "[destinations]\n0=QMW2||C:\\QMW2\n1=WORK|0|C:\\QMW2\\WORK\n2=DEEP|1|C:\\QMW2\\WORK\\DEEP\n"
      "4=TEMPL|0|C:\\QMW2\\TEMPL\n5=GONE|0|C:\\QMW2\\GONE\n1000=SHARED||C:\\SHARED\n"
      "[groups]\nMain=Main|d|1|1|1\n"
      "[Main]\nQMW.EXE=0|1|0\nA.QML=2|1|0\nB.QMT=4|1|0\nNEWER.QMT=4|0|0\nFONT.TTF=1000|1|0\n");
  for (const char* file : {"QMW2/QMW.EXE", "QMW2/WORK/DEEP/A.QML", "QMW2/WORK/qmw2.ini", "QMW2/TEMPL/B.QMT",
                           "QMW2/TEMPL/NEWER.QMT", "QMW2/TEMPL/USER.TXT", "SHARED/FONT.TTF"}) {
    Touch(file);
  }
  const struct {
    int id;
    bool exists;
    bool emptyAfter;
    std::vector<std::string> remaining;
  } expected[] = {
      {2, true, true, {}},
      {1, true, true, {}},  // the settings file and DEEP go
      {4, true, false, {"NEWER.QMT", "USER.TXT"}},
      {5, false, false, {}},
      {0, true, false, {"TEMPL"}},
      // The shared place 1000 is not tried at all.
  };

  const RemovalPlan plan = Plan();
  ASSERT_EQ(plan.directories.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(expected[i].id);
    EXPECT_EQ(plan.directories[i].id, expected[i].id);
    EXPECT_EQ(plan.directories[i].exists, expected[i].exists);
    EXPECT_EQ(plan.directories[i].emptyAfter, expected[i].emptyAfter);
    EXPECT_EQ(plan.directories[i].remaining, expected[i].remaining);
  }
}

TEST_F(RemovalPlanTest, LogOfAKilledInstallIsReadAsFarAsItGoes) {
  // The copy was cut short: file lines and registry keys, no tables.
  WriteLog("[Main]\nQMW.EXE=0|1|0\n[Registry]\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane=x\n");
  WriteFileText(Host("SETUP/cv_setup.ini"), "[Execute]\nCommand = C:\\CLEAN.EXE\noption = -1\n");

  const RemovalPlan plan = Plan("C:\\SETUP\\cv_setup.ini");
  EXPECT_TRUE(plan.logFound);
  EXPECT_TRUE(plan.groups.empty());
  EXPECT_TRUE(plan.directories.empty());
  EXPECT_EQ(plan.loggedKeys, std::vector<std::string>{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane"});
  ASSERT_EQ(plan.commands.size(), 1u);
  for (const char* said : {"no \"destinations\" section", "no \"groups\" section", "section \"Main\" holds 1 line",
                           "no program folder", "no working directory"}) {
    EXPECT_TRUE(AnyContains(plan.problems, said)) << said << " in " << ::testing::PrintToString(plan.problems);
  }
}

TEST_F(RemovalPlanTest, AKeyLineCutShortByAKilledAppendIsNeverRemoved) {
  // Killed in the middle of "...\Corvane\Quillmark=x": the cut name is another
  // key, maybe someone else's. A kill cuts only at a page boundary of the file.
  const std::string head =
      "[destinations]\n0=QMW2||C:\\QMW2\n[Registry]\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane=x\n";
  const std::string cut = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Corv";
  const std::string pad = ";" + std::string(platform::kCutAppendPageSize - head.size() - cut.size() - 2, '-') + "\n";
  WriteLog(pad + head + cut);

  const RemovalPlan plan = Plan();
  EXPECT_EQ(plan.loggedKeys, std::vector<std::string>{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane"});
}

TEST_F(RemovalPlanTest, MissingLogIsSaid) {
  const RemovalPlan plan = Plan();
  EXPECT_FALSE(plan.logFound);
  EXPECT_TRUE(plan.groups.empty());
  EXPECT_TRUE(AnyContains(plan.problems, "does not exist"));
}

}  // namespace
