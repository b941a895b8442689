#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineTest, SwitchesTakeTheirKeyFromTheLetterOrTheTextBeforeTheColon) {
  const CommandLineSwitches s = ParseCommandLine("/U /T123 /D:C:\\APPS /Xyz:1:2 /B");
  EXPECT_EQ(s.at("U"), "");
  EXPECT_EQ(s.at("T"), "123");
  EXPECT_EQ(s.at("D"), "C:\\APPS");  // only the first colon separates
  EXPECT_EQ(s.at("Xyz"), "1:2");
  EXPECT_EQ(s.at("B"), "");
  EXPECT_EQ(s.size(), 5u);
}

TEST(CommandLineTest, SpacesSeparateWordsAndTabsDoNot) {
  const CommandLineSwitches s = ParseCommandLine("   /B    /T:7\t/U  ");
  EXPECT_EQ(s.at("B"), "");
  EXPECT_EQ(s.at("T"), "7\t/U");
  EXPECT_FALSE(s.contains("U"));
}

TEST(CommandLineTest, PositionalWordsAndALoneSlashGiveNoSwitch) {
  const CommandLineSwitches s = ParseCommandLine("first / /U second");
  EXPECT_EQ(s.at("U"), "");
  EXPECT_EQ(s.at("#1"), "first");
  EXPECT_EQ(s.at("#2"), "second");
  EXPECT_EQ(s.size(), 3u);
  EXPECT_TRUE(ParseCommandLine("").empty());
}

TEST(CommandLineTest, LettersAreCaseSensitiveAndALaterWordReplacesAnEarlierOne) {
  const CommandLineSwitches s = ParseCommandLine("/d:X /D:A:\\ /D:B:\\ /u");
  EXPECT_EQ(s.at("D"), "B:\\");
  EXPECT_EQ(s.at("d"), "X");
  EXPECT_EQ(s.at("u"), "");
  EXPECT_FALSE(s.contains("U"));
}

TEST(CommandLineTest, TheArgumentVectorIsJoinedWithSingleSpaces) {
  const char* argv[] = {"SETUP", "/B", "/D:C:\\MY FILES", "/T:9"};
  EXPECT_EQ(JoinArguments(4, argv), "/B /D:C:\\MY FILES /T:9");
  EXPECT_EQ(JoinArguments(1, argv), "");
  // The space in the argument splits it again, as on the original command line.
  EXPECT_EQ(ParseCommandLine(JoinArguments(4, argv)).at("D"), "C:\\MY");
}

}  // namespace
