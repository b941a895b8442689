// Program items: Program Manager's command strings byte for byte, shell links
// in the Programs folder on Windows 95, and a Program Manager on a thread of
// the test for Windows NT 3.51; creation and removal, twice over.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/dde/dde_client.h"
#include "platform/dde/progman_server.h"
#include "platform/dde/progman_store.h"
#include "platform/machine/machine.h"
#include "platform/profile/private_profile.h"
#include "platform/shelllink/shell_link.h"
#include "system/program_manager_groups.h"
#include "system/progman_client.h"
#include "system/program_items.h"
#include "system/target_table.h"
#include "tests/common/start_menu_seed.h"
#include "tests/common/temp_machine.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kLogFile = "Qmw.log";

TEST(ProgmanCommands, AreFormattedAsProgramManagerReadsThem) {
  const struct {
    std::string command;
    std::string expected;
  } cases[] = {
      {CreateGroupCommand("QM2"), R"([CreateGroup ("QM2")])"},
      {CreateGroupCommand("QM2", std::string("QM2.GRP")), R"([CreateGroup ("QM2", "QM2.GRP")])"},
      {DeleteGroupCommand("QM2"), R"([DeleteGroup("QM2")])"},
      {ReplaceItemCommand("Quillmark 2.0"), "[ReplaceItem (Quillmark 2.0)]"},
      {DeleteItemCommand("Quillmark 2.0"), "[DeleteItem (Quillmark 2.0)]"},
      // No icon path: the command line; no hot key: an empty field.
      {AddItemCommand("C:\\QMW2\\QMW.EXE ", "Quillmark 2.0", "", 0, -1, -1, "", -1, false),
       R"([AddItem (C:\QMW2\QMW.EXE ,"Quillmark 2.0",C:\QMW2\QMW.EXE ,0,-1,-1,,,0)])"},
      {AddItemCommand("C:\\QMW2\\SETUP.EXE /U", "Remove", "C:\\QMW2\\QMW.ICO", 2, -1, -1, "", 1617, true),
       R"([AddItem (C:\QMW2\SETUP.EXE /U,"Remove",C:\QMW2\QMW.ICO,2,-1,-1,,1617,1)])"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.command, c.expected);
}

CTarget Target(const std::string& key, const std::string& name, const std::string& arguments, int hotkey,
               bool minimized) {
  CTarget target;
  target.key = key;
  target.name = name;
  target.arguments = arguments;
  target.hotkey = hotkey;
  target.minimized = minimized;
  target.iconFile = "QMW.EXE";
  target.commandPath = CPath("C:\\QMW2\\" + key);
  return target;
}

class ProgramItemsTest : public ::testing::Test {
 protected:
  // Two items of one name: the later replaces the earlier.
  void AddTargets() {
    targets_.Add(Target("QMW.EXE", "Quillmark 2.0", "", -1, false));
    targets_.Add(Target("SETUP.EXE", "Remove Quillmark 2.0", "/U", 1617, true));
    targets_.Add(Target("QMW.HLP", "Quillmark 2.0", "", -1, false));
    platform::WritePrivateProfileString("PMGroup", "pmgroup", "QM2", kLogFile);
  }

  CTargetTable targets_;
};

TEST_F(ProgramItemsTest, CommandLinesKeepTheBlankBeforeTheArguments) {
  EXPECT_EQ(ItemCommandLine(Target("QMW.EXE", "Q", "", -1, false)), "C:\\QMW2\\QMW.EXE ");
  EXPECT_EQ(ItemCommandLine(Target("SETUP.EXE", "R", "/U", -1, false)), "C:\\QMW2\\SETUP.EXE /U");
}

TEST_F(ProgramItemsTest, Windows95GetsShellLinksInTheProgramFolderAndLosesThemAgain) {
  qmtest::TempMachineRoot machine;
  qmtest::SeedStartMenu(machine, {});
  AddTargets();
  const ProgramItemPlace place{"QM2", "C:\\QMW2", false, false};
  CreateProgramItems(targets_, place);

  const fs::path folder = machine.DriveC() / "WINDOWS" / "Start Menu" / "Programs" / "QM2";
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
  const platform::ShellLink plain = platform::ReadShellLink(folder / "Quillmark 2.0.lnk");
  EXPECT_EQ(plain.name, "Quillmark 2.0");
  EXPECT_EQ(plain.target, "C:\\QMW2\\QMW.HLP");
  EXPECT_EQ(plain.arguments, "");
  EXPECT_EQ(plain.workingDirectory, "C:\\QMW2");
  EXPECT_EQ(plain.iconLocation, "C:\\QMW2\\QMW.EXE");
  EXPECT_EQ(plain.hotKey, 0);
  EXPECT_EQ(plain.showCommand, platform::kShowNormal);
  EXPECT_EQ(targets_.Find("QMW.EXE")->hotkey, 0);  // a link has no "none"
  const platform::ShellLink removal = platform::ReadShellLink(folder / "Remove Quillmark 2.0.lnk");
  EXPECT_EQ(removal.arguments, "/U");
  EXPECT_EQ(removal.hotKey, 1617);
  EXPECT_EQ(removal.showCommand, platform::StoredShowCommand(2));

  // Each removal takes its link; the folder goes once it is empty, and a
  // removal after that finds nothing to do.
  RemoveProgramItem(*targets_.Find("QMW.EXE"), place, kLogFile);
  EXPECT_FALSE(fs::exists(folder / "Quillmark 2.0.lnk"));
  EXPECT_TRUE(fs::exists(folder));
  RemoveProgramItem(*targets_.Find("SETUP.EXE"), place, kLogFile);
  EXPECT_FALSE(fs::exists(folder));
  RemoveProgramItem(*targets_.Find("SETUP.EXE"), place, kLogFile);
}

TEST_F(ProgramItemsTest, WindowsNt351GetsProgramManagerItemsAndLosesTheGroupAtTheFirstRemoval) {
  qmtest::TempMachineRoot machine(platform::MachineConfig::Defaults(platform::PlatformKind::Nt351));
  platform::dde::ProgmanServer server(platform::dde::ProgmanSocketPath(), platform::dde::ProgmanGroupDirectory());
  std::thread serving([&server] { server.Run(); });
  AddTargets();
  const ProgramItemPlace place{"QM2", "C:\\QMW2", true, false};
  CreateProgramItems(targets_, place);
  EXPECT_EQ(ProgramManagerGroups(), std::vector<std::string>{"QM2"});  // the program folder page's list

  const auto groups = [] { return platform::dde::ProgmanGroupStore(platform::dde::ProgmanGroupDirectory()).Groups(); };
  const std::vector<platform::dde::ProgmanGroup> created = groups();
  ASSERT_EQ(created.size(), 1u);
  const std::vector<platform::dde::ProgmanItem>& items = created.front().items;
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].command, "C:\\QMW2\\QMW.HLP");  // an unquoted argument loses its blanks
  EXPECT_EQ(items[0].hotkey, 0);
  EXPECT_EQ(items[1].command, "C:\\QMW2\\SETUP.EXE /U");
  EXPECT_TRUE(items[1].minimized);
  EXPECT_EQ(targets_.Find("QMW.EXE")->hotkey, -1);  // Program Manager has its own "none"

  RemoveProgramItem(*targets_.Find("QMW.EXE"), place, kLogFile);
  EXPECT_TRUE(groups().empty());
  RemoveProgramItem(*targets_.Find("SETUP.EXE"), place, kLogFile);  // the group is gone already
  EXPECT_TRUE(groups().empty());
  server.RequestStop();
  serving.join();
}

// Program Manager is not running: the first command starts it, once, and the
// later ones find it.
TEST_F(ProgramItemsTest, ProgramManagerIsStartedOnceWhenItIsNotRunning) {
  qmtest::TempMachineRoot machine(platform::MachineConfig::Defaults(platform::PlatformKind::Nt351));
  const fs::path starts = machine.Root() / "starts.txt";
  const fs::path progman = machine.Root() / "progman.sh";
  {
    std::ofstream script(progman);
    script << "#!/bin/sh\necho started >> '" << starts.string() << "'\nexec '" << QM_BIN_DIR << "/qmtool' \"$@\"\n";
  }
  fs::permissions(progman, fs::perms::owner_all);
  setenv("QMSETUP_QMTOOL", progman.c_str(), 1);
  AddTargets();
  CreateProgramItems(targets_, {"QM2", "C:\\QMW2", true, false});
  EXPECT_EQ(ProgramManagerGroups(), std::vector<std::string>{"QM2"});
  unsetenv("QMSETUP_QMTOOL");
  std::ifstream log(starts);
  const std::string all((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_EQ(all, "started\n");
  platform::dde::DdeClient direct;  // the server started ends itself
  ASSERT_TRUE(direct.Connect("PROGMAN", "PROGMAN"));
  direct.Execute("[ExitProgman()]");
}

}  // namespace
