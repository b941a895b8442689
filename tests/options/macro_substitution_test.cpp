#include <gtest/gtest.h>

#include "options/macro_substitution.h"
#include "tests/options/option_test_support.h"

using qmtest::RecordingMessages;

namespace {

std::string Repeat(const std::string& part, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += part;
  return text;
}

class Substitution : public ::testing::Test {
 protected:
  Substitution() {
    BuildMacroTable(table, std::vector<MacroDestination>{{0, R"(C:\QMW2)"}, {1, R"(C:\QMW2\BIN)"}, {3, ""}},
                    R"(D:\SETUP\)");
  }
  std::string Run(const std::string& text) { return Substitute(text, table, messages); }
  std::string MacroError(const std::string& text) { return "Error in macro in line -> " + text; }

  MacroTable table;
  RecordingMessages messages;
};

TEST(ReplaceFirst, OnlyTheFirstOccurrence) {
  std::string text = "a-b-a";
  ReplaceFirst(text, "a", "xyz");
  EXPECT_EQ(text, "xyz-b-a");
  ReplaceFirst(text, "q", "never");
  EXPECT_EQ(text, "xyz-b-a");
  ReplaceFirst(text, "", "never");  // an empty name would otherwise grow the text forever
  EXPECT_EQ(text, "xyz-b-a");
  ReplaceFirst(text, "xyz-b-a", "");
  EXPECT_EQ(text, "");
}

TEST_F(Substitution, PlainTextIsUnchanged) {
  EXPECT_EQ(Run(R"(C:\QMW2\QMW.EXE 'quoted')"), R"(C:\QMW2\QMW.EXE 'quoted')");
  EXPECT_EQ(Run(""), "");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Substitution, DestinationAndLaunchDriveMacros) {
  EXPECT_EQ(Run(R"(@1@\QMW.EXE)"), R"(C:\QMW2\BIN\QMW.EXE)");
  EXPECT_EQ(Run(R"(@LaunchDrive@UNSETUP.EXE /D:@0@)"), R"(D:\SETUP\UNSETUP.EXE /D:C:\QMW2)");
  EXPECT_EQ(Run("@0@@0@@0@"), R"(C:\QMW2C:\QMW2C:\QMW2)");  // three passes
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Substitution, EachPassReplacesOneOccurrencePerNameForAtMost100Passes) {
  // 100 occurrences take exactly 100 passes and succeed.
  EXPECT_EQ(Run(Repeat("@0@;", 100)), Repeat(R"(C:\QMW2;)", 100));
  EXPECT_TRUE(messages.shown.empty());

  // One more and the 101st pass is refused: the text as it stands is returned.
  const std::string partly = Repeat(R"(C:\QMW2;)", 100) + "@0@;";
  EXPECT_EQ(Run(Repeat("@0@;", 101)), partly);
  EXPECT_EQ(messages.shown, std::vector<std::string>{MacroError(partly)});
}

TEST_F(Substitution, LoneAtSignEndsInTheMacroErrorWithoutTheQuotePass) {
  // 150 macros ahead of a mail address: exactly 100 are replaced before the message.
  const std::string text = Repeat("@1@ ", 150) + "help@example.com ''x''";
  const std::string partly = Repeat(R"(C:\QMW2\BIN )", 100) + Repeat("@1@ ", 50) + "help@example.com ''x''";
  EXPECT_EQ(Run(text), partly);
  EXPECT_EQ(messages.shown, std::vector<std::string>{MacroError(partly)});
}

TEST_F(Substitution, EmptyDestinationGivesNoMacro) {
  EXPECT_EQ(Run(R"(@3@\A.TXT)"), R"(@3@\A.TXT)");
  EXPECT_EQ(messages.shown, std::vector<std::string>{MacroError(R"(@3@\A.TXT)")});
}

TEST_F(Substitution, MacrosBroughtInByAValueAreReplacedInALaterPass) {
  MacroTable nested = {{"@0@", "@LaunchDrive@QMW2"}, {"@LaunchDrive@", R"(A:\)"}};
  // In one pass both names are tried in table order, so the value of @0@ is
  // already replaced by the second entry of the same pass.
  EXPECT_EQ(Substitute("@0@", nested, messages), R"(A:\QMW2)");
  // Reversed, the name brought in is only seen by the second pass.
  MacroTable reversed = {{"@LaunchDrive@", R"(A:\)"}, {"@0@", "@LaunchDrive@QMW2"}};
  EXPECT_EQ(Substitute("@0@ @LaunchDrive@", reversed, messages), R"(A:\QMW2 A:\)");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Substitution, ValueNamingItsOwnMacroNeverEnds) {
  MacroTable selfish = {{"@0@", "[@0@]"}};
  const std::string result = Substitute("@0@", selfish, messages);
  EXPECT_EQ(result, Repeat("[", 100) + "@0@" + Repeat("]", 100));
  ASSERT_EQ(messages.shown.size(), 1u);
}

TEST_F(Substitution, PairsOfSingleQuotesBecomeDoubleQuotes) {
  EXPECT_EQ(Run("say ''hi''"), R"(say "hi")");
  EXPECT_EQ(Run("a'''b"), "a\"'b");
  EXPECT_EQ(Run("''''"), R"("")");
  EXPECT_EQ(Run("it's"), "it's");
  EXPECT_EQ(Run(R"(''@0@\A B.EXE'')"), R"("C:\QMW2\A B.EXE")");
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Substitution, MoreThan100QuotePairsReplaceOnlyTheFirst100) {
  EXPECT_EQ(Run(Repeat("''", 100)), Repeat("\"", 100));
  EXPECT_TRUE(messages.shown.empty());

  EXPECT_EQ(Run(Repeat("x''", 102)), Repeat("x\"", 100) + Repeat("x''", 2));
  EXPECT_EQ(messages.shown,
            std::vector<std::string>{"Error substituting two single quotes for one double quote"});
}

}  // namespace
