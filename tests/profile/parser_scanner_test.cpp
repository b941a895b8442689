// The profile scanner: where tokens split, their kinds, text mode, line
// numbers and the source line each token carries.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "profile/profile_scanner.h"
#include "tests/profile/parser_test_support.h"

namespace {

// Control characters spelled out, so that expectations stay readable.
std::string Visible(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\v': out += "\\v"; break;
      case '\f': out += "\\f"; break;
      case '\0': out += "\\0"; break;
      default: out += c;
    }
  }
  return out;
}

ProfileScanner ScannerOver(std::string_view text) {
  ProfileScanner scanner;
  scanner.Open(MakeMemoryByteSource(text), "test.ini", ProfileScanner::kProfileSpecialCharacters);
  return scanner;
}

// Every token up to the end of the input as "kind:text@line", space separated.
std::string Tokens(std::string_view text) {
  ProfileScanner scanner = ScannerOver(text);
  std::string out;
  CItoken token;
  for (int guard = 0; guard < 1000; ++guard) {
    EXPECT_TRUE(scanner.NextToken(token));
    if (token.Kind() == CItoken::kEndOfInput) break;
    if (!out.empty()) out += ' ';
    out += std::to_string(token.Kind()) + ":" + Visible(token.Text()) + "@" + std::to_string(token.LineNumber());
  }
  return out;
}

struct SplitCase {
  const char* name;
  std::string input;
  const char* tokens;
};

void PrintTo(const SplitCase& c, std::ostream* out) { *out << c.name; }

class ScannerSplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ScannerSplitTest, SplitsIntoTokens) { EXPECT_EQ(Tokens(GetParam().input), GetParam().tokens); }

INSTANTIATE_TEST_SUITE_P(
    Profile, ScannerSplitTest,
    ::testing::Values(
        SplitCase{"Empty", "", ""},
        SplitCase{"WordsAndBlank", "ab cd\n", "4:ab@1 3: @1 4:cd@1 3:\\n@1"},
        SplitCase{"OneCharacterWord", "a=b", "4:a@1 3:=@1 4:b@1"},
        SplitCase{"SpecialsAreEachATokenEvenInARun", "[]==;#\"\t\v\f",
                  "3:[@1 3:]@1 3:=@1 3:=@1 3:;@1 3:#@1 3:\"@1 3:\\t@1 3:\\v@1 3:\\f@1"},
        SplitCase{"PathCharactersAreWordCharacters", "C:\\dir\\a'b/c.txt", "4:C:\\dir\\a'b/c.txt@1"},
        SplitCase{"BytesAbove127AreWordCharacters", "\xE4\xF6=\xFF", "4:\xE4\xF6@1 3:=@1 4:\xFF@1"},
        SplitCase{"NoFinalLineFeed", "a\nbc", "4:a@1 3:\\n@1 4:bc@2"},
        SplitCase{"CrLfReadsAsLineFeed", "a\r\nb\r\n", "4:a@1 3:\\n@1 4:b@2 3:\\n@2"},
        SplitCase{"LoneCrStaysInItsLine", "a\rb\n", "4:a@1 3:\\r@1 4:b@1 3:\\n@1"},
        SplitCase{"CrAtTheEndOfTheFile", "a\r", "4:a@1 3:\\r@1"},
        SplitCase{"CrCrLf", "a\r\r\nb", "4:a@1 3:\\r@1 3:\\n@1 4:b@2"},
        SplitCase{"NulIsASpecialCharacter", std::string("a\0b", 3), "4:a@1 3:\\0@1 4:b@1"},
        SplitCase{"EmptyLinesCount", "\n\n\nx", "3:\\n@1 3:\\n@2 3:\\n@3 4:x@4"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileScannerTest, TokensCarryTheirWholeLineWithItsLineEnd) {
  ProfileScanner scanner = ScannerOver("[S]\r\nKey = Value\nlast");
  std::vector<std::string> lines;
  CItoken token;
  while (scanner.NextToken(token) && token.Kind() != CItoken::kEndOfInput) lines.push_back(token.Line());
  const std::vector<std::string> expected = {
      "[S]\n", "[S]\n", "[S]\n", "[S]\n",
      "Key = Value\n", "Key = Value\n", "Key = Value\n", "Key = Value\n", "Key = Value\n", "Key = Value\n",
      "last"};
  EXPECT_EQ(lines, expected);
  // The end of the input keeps pointing at the last line read, and stays the end.
  EXPECT_EQ(token.Line(), "last");
  EXPECT_EQ(token.LineNumber(), 3);
  ASSERT_TRUE(scanner.NextToken(token));
  EXPECT_EQ(token.Kind(), CItoken::kEndOfInput);
}

TEST(ProfileScannerTest, ALineHasNoLengthLimit) {
  const std::string word(200000, 'w');
  EXPECT_EQ(Tokens(word + "=" + word), "4:" + word + "@1 3:=@1 4:" + word + "@1");
}

class ProfileScannerFileTest : public qmtest::ProfileFilesTest {};

TEST_F(ProfileScannerFileTest, AFileThatCannotBeOpenedIsAnEmptyInput) {
  ProfileScanner scanner;
  EXPECT_FALSE(scanner.Open("missing.ini", ProfileScanner::kProfileSpecialCharacters));
  CItoken token;
  ASSERT_TRUE(scanner.NextToken(token));
  EXPECT_EQ(token.Kind(), CItoken::kEndOfInput);
  EXPECT_EQ(token.LineNumber(), 0);
}

TEST_F(ProfileScannerFileTest, ReadsAFileByItsWindowsNameIgnoringCase) {
  Write("Sub/Profile.ini", "a\r\nb");
  ProfileScanner scanner;
  ASSERT_TRUE(scanner.Open("SUB\\PROFILE.INI", ProfileScanner::kProfileSpecialCharacters));
  std::string seen;
  CItoken token;
  while (scanner.NextToken(token) && token.Kind() != CItoken::kEndOfInput) seen += Visible(token.Text()) + " ";
  EXPECT_EQ(seen, "a \\n b ");
}

}  // namespace
