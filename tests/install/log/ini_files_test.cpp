// CIniItem, CIniSectionReader and the install log writers over real files of a
// temporary emulated machine.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "install/log/ini_defaults.h"
#include "install/log/ini_fields.h"
#include "install/log/ini_item.h"
#include "install/log/ini_section_reader.h"
#include "install/log/install_log.h"
#include "platform/machine/machine.h"
#include "platform/profile/private_profile.h"
#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"

namespace {

namespace fs = std::filesystem;

const std::string kLog = "C:\\WINDOWS\\Qmw.log";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

class IniFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaultIniFileName("");
    SetIniAutoWriteEnabled(false);
  }
  void TearDown() override {
    SetDefaultIniFileName("");
    SetIniAutoWriteEnabled(false);
  }

  // The log's text as it lies on the host, found without caring for letter case.
  std::string LogText() const {
    for (const auto& entry : fs::recursive_directory_iterator(temp_.Root())) {
      if (entry.is_regular_file() && Lower(entry.path().filename().string()) == "qmw.log") {
        return qmtest::ReadFileText(entry.path());
      }
    }
    return {};
  }

  static std::vector<std::string> Keys(const std::string& section, const std::string& file) {
    std::vector<std::string> keys;
    CIniSectionReader reader(section, file);
    CIniItem item;
    for (bool more = reader.First(item); more; more = reader.Next(item)) keys.push_back(item.Key());
    return keys;
  }

  static void Put(const char* section, const char* key, const char* value) {
    ASSERT_TRUE(platform::WritePrivateProfileString(section, key, value, kLog));
  }

  qmtest::TempMachineRoot temp_;
};

TEST_F(IniFilesTest, ReadTellsStoredValuesFromDefaults) {
  Put("groups", "Main", "Main program|The program|1|1|0");
  Put("groups", "Empty", "");

  CIniItem stored("groups", "main", "fallback", kLog);
  EXPECT_TRUE(stored.Read());
  EXPECT_EQ(stored.Value(), "Main program|The program|1|1|0");
  EXPECT_EQ(stored.LastRead(), stored.Value());

  CIniItem empty("groups", "Empty", "fallback", kLog);
  EXPECT_TRUE(empty.Read());
  EXPECT_EQ(empty.Value(), "");

  CIniItem missing("groups", "Fonts", "fallback", kLog);
  EXPECT_FALSE(missing.Read());
  EXPECT_EQ(missing.Value(), "fallback");
  EXPECT_EQ(missing.LastRead(), "fallback");

  // A stored value equal to the default still counts as stored.
  CIniItem same("groups", "Main", "Main program|The program|1|1|0", kLog);
  EXPECT_TRUE(same.Read());

  CIniItem noFile("groups", "Main", "", "C:\\WINDOWS\\absent.ini");
  EXPECT_FALSE(noFile.Read());
  EXPECT_EQ(noFile.Value(), "");
}

TEST_F(IniFilesTest, ValuesAreCutTo255Characters) {
  const std::string longValue(300, 'v');
  Put("program", "notes.txt", longValue.c_str());
  CIniItem item("program", "notes.txt", "", kLog);
  EXPECT_TRUE(item.Read());
  EXPECT_EQ(item.Value(), std::string(255, 'v'));
}

TEST_F(IniFilesTest, WriteStoresTheCurrentValue) {
  CIniItem item("PMGroup", "pmgroup", "Quill Programs", kLog);
  EXPECT_TRUE(item.Write());
  CIniItem check("PMGroup", "pmgroup", "", kLog);
  EXPECT_TRUE(check.Read());
  EXPECT_EQ(check.Value(), "Quill Programs");
}

TEST_F(IniFilesTest, AutomaticReadAndWrite) {
  Put("groups", "Main", "stored");
  CIniItem autoRead("groups", "Main", "", kLog, CIniItem::kAutoRead);
  EXPECT_EQ(autoRead.Value(), "stored");

  // Switch off (the default): a changed value is not written back.
  {
    CIniItem item("groups", "Main", "", kLog, CIniItem::kAutoRead | CIniItem::kAutoWrite);
    item.SetValue("changed while off");
  }
  EXPECT_EQ(CIniItem("groups", "Main", "", kLog, CIniItem::kAutoRead).Value(), "stored");

  SetIniAutoWriteEnabled(true);
  // Unchanged since its read: not written, so a later outside change survives.
  {
    CIniItem item("groups", "Main", "", kLog, CIniItem::kAutoRead | CIniItem::kAutoWrite);
    Put("groups", "Main", "outside");
  }
  EXPECT_EQ(CIniItem("groups", "Main", "", kLog, CIniItem::kAutoRead).Value(), "outside");
  {
    CIniItem item("groups", "Main", "", kLog, CIniItem::kAutoRead | CIniItem::kAutoWrite);
    item.SetValue("changed");
  }
  EXPECT_EQ(CIniItem("groups", "Main", "", kLog, CIniItem::kAutoRead).Value(), "changed");
}

TEST_F(IniFilesTest, EmptyFileMeansTheDefaultIniFile) {
  Put("groups", "Main", "stored");
  CIniItem none("groups", "Main", "fallback");
  EXPECT_FALSE(none.Read());
  EXPECT_EQ(none.Value(), "fallback");
  EXPECT_FALSE(none.Write());
  EXPECT_TRUE(Keys("groups", "").empty());

  SetDefaultIniFileName(kLog);
  CIniItem item("groups", "Main");
  EXPECT_TRUE(item.Read());
  EXPECT_EQ(item.Value(), "stored");
  EXPECT_EQ(item.File(), kLog);
  EXPECT_EQ(Keys("groups", ""), std::vector<std::string>{"Main"});
}

TEST_F(IniFilesTest, SectionReaderWalksKeysInFileOrder) {
  Put("destinations", "1", "Templates|0|C:\\QMW\\Templates");
  Put("destinations", "0", "|-1|C:\\QMW");
  Put("destinations", "7", "Fonts|0|C:\\QMW\\Fonts");
  Put("groups", "Main", "x");

  CIniSectionReader reader("destinations", kLog);
  CIniItem item;
  ASSERT_TRUE(reader.First(item));
  EXPECT_EQ(item.Key(), "1");
  EXPECT_EQ(item.Section(), "destinations");
  EXPECT_EQ(item.File(), kLog);
  EXPECT_TRUE(reader.HoldsKeyList());
  ASSERT_TRUE(reader.Next(item));
  EXPECT_EQ(item.Key(), "0");
  ASSERT_TRUE(item.Read());
  EXPECT_EQ(GetIntField(item.Value(), 1), -1);
  ASSERT_TRUE(reader.Next(item));
  EXPECT_EQ(item.Key(), "7");
  EXPECT_FALSE(reader.Next(item));
  EXPECT_FALSE(reader.HoldsKeyList());
  EXPECT_FALSE(reader.Next(item));
}

TEST_F(IniFilesTest, EmptyOrMissingSectionYieldsNoItemAndKeepsNoBuffer) {
  Put("groups", "Main", "x");
  ASSERT_TRUE(platform::WritePrivateProfileString("targets", "gone", "x", kLog));
  ASSERT_TRUE(platform::WritePrivateProfileString("targets", "gone", nullptr, kLog));
  for (const char* section : {"targets", "diskettes"}) {
    CIniSectionReader reader(section, kLog);
    CIniItem item;
    EXPECT_FALSE(reader.First(item)) << section;
    EXPECT_FALSE(reader.HoldsKeyList()) << section;
    EXPECT_TRUE(item.Key().empty());
  }
  CIniSectionReader neverStarted("groups", kLog);
  CIniItem item;
  EXPECT_FALSE(neverStarted.Next(item));
}

TEST_F(IniFilesTest, SectionReaderGrowsItsBufferForLongKeyLists) {
  std::vector<std::string> expected;
  for (int i = 0; i < 300; ++i) {
    expected.push_back("LABELFILE_" + std::to_string(1000 + i) + ".DAT");
    Put("Main", expected.back().c_str(), "0|1|0");
  }
  EXPECT_EQ(Keys("Main", kLog), expected);
}

TEST_F(IniFilesTest, FileLoggedTwiceLeavesOneLineWithTheLaterValue) {
  EXPECT_TRUE(LogInstalledFile({"Main", "C:\\QMW\\QMW.EXE", 0, true, false}, kLog));
  EXPECT_TRUE(LogInstalledFile({"Main", "C:\\WINDOWS\\SYSTEM\\QMW.EXE", -3, true, true}, kLog));
  EXPECT_TRUE(LogInstalledFile({"Main", "C:\\QMW\\README.TXT", 0, false, false}, kLog));

  EXPECT_EQ(Keys("Main", kLog), (std::vector<std::string>{"QMW.EXE", "README.TXT"}));
  CIniItem line("Main", "QMW.EXE", "", kLog, CIniItem::kAutoRead);
  EXPECT_EQ(line.Value(), "-3|1|1");
  const std::string text = LogText();
  EXPECT_EQ(text.find("QMW.EXE"), text.rfind("QMW.EXE"));

  EXPECT_FALSE(LogInstalledFile({"Main", "C:\\QMW\\", 0, true, false}, kLog));
  EXPECT_FALSE(LogInstalledFile({"", "C:\\QMW\\A.DAT", 0, true, false}, kLog));
}

TEST_F(IniFilesTest, DestinationsAndGroupsReadBackAsTables) {
  const DestinationRecord destinations[] = {
      {-2, "", -1, "C:\\WINDOWS"}, {0, "", -1, "C:\\QMW"}, {-5, "", -1, "A:\\"}, {1, "Templates", 0, "C:\\QMW\\Templates"}};
  const GroupRecord groups[] = {{"Main", "Main program", "The program itself", 1, 1, 1},
                                {"premade", "Premade labels", "Ready-made designs", 0, 1, 1}};
  EXPECT_TRUE(WriteDestinationLines(destinations, kLog));
  EXPECT_TRUE(WriteGroupLines(groups, kLog));

  EXPECT_EQ(Keys("destinations", kLog), (std::vector<std::string>{"0", "1"}));
  CIniItem templates("destinations", "1", "", kLog, CIniItem::kAutoRead);
  EXPECT_EQ(GetField(templates.Value(), 0), "Templates");
  EXPECT_EQ(GetIntField(templates.Value(), 1), 0);
  EXPECT_EQ(GetField(templates.Value(), 2), "C:\\QMW\\Templates");
  CIniItem install("destinations", "0", "", kLog, CIniItem::kAutoRead);
  EXPECT_EQ(GetIntField(install.Value(), 1), -1);

  EXPECT_EQ(Keys("groups", kLog), (std::vector<std::string>{"Main", "premade"}));
  CIniItem premade("groups", "premade", "", kLog, CIniItem::kAutoRead);
  EXPECT_EQ(premade.Value(), "Premade labels|Ready-made designs|0|1|1");
}

}  // namespace
