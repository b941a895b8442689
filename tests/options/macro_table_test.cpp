#include <gtest/gtest.h>

#include "options/macro_table.h"

namespace {

TEST(MacroTable, DestinationsInGivenOrderThenLaunchDrive) {
  const std::vector<MacroDestination> destinations = {
      {0, R"(C:\QMW2)"},
      {-2, R"(C:\WINDOWS)"},
      {1, ""},  // no directory: no macro
      {12, R"(C:\QMW2\FONTS)"},
      {-32768, "X:"},
  };
  MacroTable table;
  BuildMacroTable(table, destinations, R"(D:\SETUP\)");
  const MacroTable expected = {
      {"@0@", R"(C:\QMW2)"},
      {"@-2@", R"(C:\WINDOWS)"},
      {"@12@", R"(C:\QMW2\FONTS)"},
      {"@-32768@", "X:"},
      {"@LaunchDrive@", R"(D:\SETUP\)"},
  };
  ASSERT_EQ(table.size(), expected.size());
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].name, expected[i].name) << i;
    EXPECT_EQ(table[i].value, expected[i].value) << i;
  }
}

TEST(MacroTable, AppendsToWhatIsThere) {
  MacroTable table = {{"@keep@", "kept"}};
  BuildMacroTable(table, {}, R"(A:\)");
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].name, "@keep@");
  EXPECT_EQ(table[1].name, "@LaunchDrive@");
}

// The source directory is a directory whether or not it ends in "\"; the value
// always ends in one, so "@LaunchDrive@FILE" works from a root and a directory.
TEST(MacroTable, LaunchDriveIsTheSourceDirectoryComposedAsADirectory) {
  EXPECT_EQ(LaunchDriveValue(R"(A:\)"), R"(A:\)");
  EXPECT_EQ(LaunchDriveValue(R"(D:\SETUP\)"), R"(D:\SETUP\)");
  EXPECT_EQ(LaunchDriveValue(R"(D:\SETUP)"), R"(D:\SETUP\)");
  EXPECT_EQ(LaunchDriveValue(R"(d:\cd\disk1\)"), R"(d:\cd\disk1\)");
  EXPECT_EQ(LaunchDriveValue("D:/SETUP/"), "D:/SETUP\\");
  EXPECT_EQ(LaunchDriveValue(R"(\\SERVER\SHARE\)"), R"(\\SERVER\SHARE\)");
}

}  // namespace
