// Fields of "|"-separated values and the install log's line formats.

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "install/log/ini_fields.h"
#include "install/log/log_lines.h"

namespace {

TEST(IniFields, FieldsAreNumberedFromZeroAndMissingOnesFail) {
  const std::string value = "Programs|-1|C:\\QMW||last";
  EXPECT_EQ(GetField(value, 0), "Programs");
  EXPECT_EQ(GetField(value, 1), "-1");
  EXPECT_EQ(GetField(value, 2), "C:\\QMW");
  EXPECT_EQ(GetField(value, 3), "");
  EXPECT_EQ(GetField(value, 4), "last");
  EXPECT_EQ(GetField(value, 5), std::nullopt);
  EXPECT_EQ(GetField("", 0), "");
  EXPECT_EQ(GetField("", 1), std::nullopt);
  EXPECT_EQ(GetField("a|", 1), "");
}

TEST(IniFields, NumbersAreReadFromTheirLeadingDigits) {
  EXPECT_EQ(GetIntField("12abc|x", 0), 12);
  EXPECT_EQ(GetIntField("12abc|x", 1), 0);
  EXPECT_EQ(GetIntField("-2|1|0", 0), -2);
  EXPECT_EQ(GetIntField(" 7", 0), 7);
  EXPECT_EQ(GetIntField("\t+3", 0), 3);
  EXPECT_EQ(GetIntField("- 3", 0), 0);
  EXPECT_EQ(GetIntField("", 0), 0);
  EXPECT_EQ(GetIntField("1.5", 0), 1);
  EXPECT_EQ(GetIntField("a|b", 2), std::nullopt);
  EXPECT_EQ(GetLongField("a|b", 2), std::nullopt);
  EXPECT_EQ(GetLongField("x|2147483647", 1), INT32_MAX);
}

TEST(InstallLogLines, FormatsMatchWhatTheTableLoadersRead) {
  EXPECT_EQ(FormatInstalledFileLine(-2, true, false), "-2|1|0");
  EXPECT_EQ(FormatInstalledFileLine(0, false, false), "0|0|0");
  EXPECT_EQ(FormatDestinationLine("Templates", 0, "C:\\QMW\\Templates"), "Templates|0|C:\\QMW\\Templates");
  EXPECT_EQ(FormatDestinationLine("", -1, "C:\\QMW"), "|-1|C:\\QMW");
  EXPECT_EQ(FormatGroupLine("Main program", "The program itself", 1, 1, 0), "Main program|The program itself|1|1|0");

  const std::string line = FormatDestinationLine("Templates", -1, "C:\\QMW\\Templates");
  EXPECT_EQ(GetField(line, 0), "Templates");
  EXPECT_EQ(GetIntField(line, 1), -1);
  EXPECT_EQ(GetField(line, 2), "C:\\QMW\\Templates");
}

TEST(InstallLogLines, KeyIsTheNameAndExtensionOfThePath) {
  EXPECT_EQ(FileNameOfPath("C:\\QMW\\QMW.EXE"), "QMW.EXE");
  EXPECT_EQ(FileNameOfPath("C:/QMW/labels.dat"), "labels.dat");
  EXPECT_EQ(FileNameOfPath("C:README"), "README");
  EXPECT_EQ(FileNameOfPath("plain.txt"), "plain.txt");
  EXPECT_EQ(FileNameOfPath("C:\\QMW\\"), "");
}

}  // namespace
