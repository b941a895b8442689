// The profile's programs: which run in which run, the vector each gets, and
// that one that cannot start stops nothing. The programs are "#!" scripts on a
// throwaway machine that append their arguments to a record file.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "options/user_messages.h"
#include "profile/profile_tree.h"
#include "system/command_list.h"
#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"

namespace {

namespace fs = std::filesystem;

class NoMessages : public UserMessages {
 public:
  void ShowMessage(const std::string& text) override { FAIL() << text; }
};

class CountingFocus : public FocusReturn {
 public:
  void TakeFocusBack() override { ++count; }
  int count = 0;
};

ProfileSection Execute(const std::vector<std::pair<std::string, std::string>>& keys) {
  ProfileSection section("Execute");
  for (const auto& [name, value] : keys) {
    section.AddKey(name);
    section.AddValue(value);
  }
  return section;
}

class CommandListTest : public ::testing::Test {
 protected:
  CommandListTest() {
    // No execute bit: every file is runnable, as on Windows.
    qmtest::WriteFileText(machine_.DriveC() / "REC.BAT",
                          "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]' \"$a\" >> \"$(dirname \"$0\")/RECORD\"; done\n"
                          "echo >> \"$(dirname \"$0\")/RECORD\"\n");
  }
  std::string Record() const {
    const fs::path record = machine_.DriveC() / "RECORD";
    return fs::exists(record) ? qmtest::ReadFileText(record) : "";
  }

  qmtest::TempMachineRoot machine_;
};

TEST_F(CommandListTest, TheSelectorPicksTheRunAndTheProgramsRunInProfileOrder) {
  const struct {
    const char* option;  // nullptr: no "option" key
    const char* installRecord;
    const char* removalRecord;
  } cases[] = {
      {"0", "[0]\n", ""},
      {"-1", "", "[-1]\n"},
      {"1", "", ""},      // no run passes that selector
      {nullptr, "", ""},  // "-99"
      {" 0", "", ""},     // selectors compare as exact texts
  };
  for (const auto& c : cases) {
    for (const char* selector : {"0", "-1"}) {
      std::filesystem::remove(machine_.DriveC() / "RECORD");
      CCommandList commands;
      std::vector<std::pair<std::string, std::string>> keys = {{"Command", "C:\\REC.BAT"}, {"arg", "REC"}};
      if (c.option != nullptr) keys.push_back({"option", c.option});
      keys.push_back({"arg", c.option == nullptr ? "none" : c.option});
      commands.AddCommandEntry(Execute(keys));
      commands.EnableCommands(selector);
      CountingFocus focus;
      commands.RunCommands(&focus);
      EXPECT_EQ(Record(), std::string(selector) == "0" ? c.installRecord : c.removalRecord)
          << "option " << (c.option ? c.option : "none") << ", selector " << selector;
      EXPECT_EQ(focus.count, 1);
    }
  }
}

TEST_F(CommandListTest, EachProgramGetsItsVectorAfterTheMacrosAndAMissingOneStopsNothing) {
  CCommandList commands;
  commands.AddCommandEntry(Execute({{"Command", "@0@REC.BAT"}, {"option", "0"}, {"ARG", "REC"},
                                    {"arg", "two words"}, {"arg", "@0@WORK"}}));
  commands.AddCommandEntry(Execute({{"Command", "C:\\MISSING.EXE"}, {"option", "0"}, {"arg", "MISSING"}}));
  commands.AddCommandEntry(Execute({{"Command", "C:\\REC.BAT"}, {"option", "0"}, {"arg", "REC"}, {"arg", "last"},
                                    {"synchronous", "FALSE"}, {"step", "remove"}}));
  // No "arg" line: an empty vector.
  commands.AddCommandEntry(Execute({{"Command", "C:\\REC.BAT"}, {"option", "0"}}));
  NoMessages messages;
  commands.SubstituteCommands({{"@0@", "C:\\"}}, messages);
  commands.EnableCommands("0");
  commands.RunCommands(nullptr);

  EXPECT_EQ(Record(), "[two words][C:\\WORK]\n[last]\n\n");
  const CCommandEntry& third = *commands.Entries()[2];
  EXPECT_FALSE(third.Synchronous());
  EXPECT_EQ(third.Step(), "remove");
  EXPECT_EQ(commands.Entries()[1]->RunCommand(), CCommandEntry::RunResult::NotStarted);
}

TEST_F(CommandListTest, ATwentyFifthArgumentRefusesTheCommandWhole) {
  std::vector<std::pair<std::string, std::string>> keys = {{"Command", "C:\\REC.BAT"}, {"option", "0"}};
  for (int i = 0; i < 24; ++i) keys.push_back({"arg", std::to_string(i)});
  CCommandList commands;
  commands.AddCommandEntry(Execute(keys));
  keys.push_back({"arg", "24"});
  commands.AddCommandEntry(Execute(keys));
  commands.EnableCommands("0");

  EXPECT_EQ(commands.Entries()[0]->RunCommand(), CCommandEntry::RunResult::Ran);
  EXPECT_EQ(commands.Entries()[1]->RunCommand(), CCommandEntry::RunResult::TooManyArguments);
  std::string expected;
  for (int i = 1; i < 24; ++i) expected += "[" + std::to_string(i) + "]";
  EXPECT_EQ(Record(), expected + "\n");
}

}  // namespace
