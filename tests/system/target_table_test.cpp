// The target table: "targets" lines written and read back, and lookups by key.

#include <gtest/gtest.h>

#include <string>

#include "platform/profile/private_profile.h"
#include "system/target_table.h"
#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"

namespace {

constexpr const char* kLogFile = "C:\\WINDOWS\\Qmw.log";

CTarget MakeTarget(const std::string& key, const std::string& name, const std::string& arguments,
                   const std::string& command) {
  CTarget target;
  target.key = key;
  target.name = name;
  target.arguments = arguments;
  target.commandPath.SetPath(command);
  return target;
}

class TargetTableTest : public ::testing::Test {
 protected:
  std::string LogValue(const std::string& key) const {
    char buffer[512] = {};
    platform::GetPrivateProfileString("targets", key.c_str(), "", buffer, sizeof buffer, kLogFile);
    return buffer;
  }

  qmtest::TempMachineRoot machine_;
};

TEST_F(TargetTableTest, SavedTargetsLoadBackAsTheSameTable) {
  CTargetTable table;
  CTarget designer = MakeTarget("QMW2.EXE", "Quillmark 2.0", "", "C:\\QMW2\\QMW2.EXE");
  designer.iconIndex = 3;
  designer.hotkey = 0x0651;
  designer.iconFile = "QMW2.ICO";
  table.Add(designer);
  CTarget remover = MakeTarget("SETUP.EXE", "Remove Quillmark 2.0", "/U", "C:\\QMW2\\SETUP.EXE");
  remover.minimized = true;
  table.Add(remover);

  ASSERT_TRUE(table.SaveTargets(kLogFile));
  EXPECT_EQ(LogValue("QMW2.EXE"), "3|1617|0|Quillmark 2.0||QMW2.ICO|C:\\QMW2\\QMW2.EXE");
  EXPECT_EQ(LogValue("SETUP.EXE"), "0|-1|1|Remove Quillmark 2.0|/U||C:\\QMW2\\SETUP.EXE");

  CTargetTable back;
  back.LoadTargets(kLogFile);
  ASSERT_EQ(back.Size(), table.Size());
  for (std::size_t i = 0; i < table.Size(); ++i) {
    const CTarget& saved = *table.Targets()[i];
    const CTarget& loaded = *back.Targets()[i];
    EXPECT_EQ(loaded.key, saved.key);
    EXPECT_EQ(loaded.iconIndex, saved.iconIndex);
    EXPECT_EQ(loaded.name, saved.name);
    EXPECT_EQ(loaded.arguments, saved.arguments);
    EXPECT_EQ(loaded.hotkey, saved.hotkey);
    EXPECT_EQ(loaded.minimized, saved.minimized);
    EXPECT_EQ(loaded.iconFile, saved.iconFile);
    EXPECT_EQ(loaded.commandPath.Text(), saved.commandPath.Text());
  }
}

TEST_F(TargetTableTest, KeysAreFoundIgnoringCaseAndAReplacedTargetKeepsItsPlace) {
  CTargetTable table;
  table.Add(MakeTarget("A.EXE", "First", "", "C:\\A.EXE"));
  table.Add(MakeTarget("B.EXE", "Second", "", "C:\\B.EXE"));
  table.Add(MakeTarget("a.exe", "Again", "", "C:\\A2.EXE"));
  ASSERT_EQ(table.Size(), 2u);
  EXPECT_EQ(table.Targets()[0]->name, "Again");
  ASSERT_NE(table.Find("b.Exe"), nullptr);
  EXPECT_EQ(table.Find("b.Exe")->name, "Second");
  EXPECT_EQ(table.Find("C.EXE"), nullptr);
}

TEST_F(TargetTableTest, ShortLinesLoadWithEmptyFieldsAndAMissingSectionWithNone) {
  CTargetTable table;
  table.LoadTargets(kLogFile);
  EXPECT_EQ(table.Size(), 0u);

  ASSERT_TRUE(platform::WritePrivateProfileString("targets", "X.EXE", "1|2", kLogFile));
  table.LoadTargets(kLogFile);
  ASSERT_EQ(table.Size(), 1u);
  const CTarget& x = *table.Targets()[0];
  EXPECT_EQ(x.iconIndex, 1);
  EXPECT_EQ(x.hotkey, 2);
  EXPECT_FALSE(x.minimized);
  EXPECT_EQ(x.name, "");
  EXPECT_EQ(x.commandPath.Text(), "");
}

}  // namespace
