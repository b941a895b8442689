// The diagnostic lists of a parse: their exact texts, and the internal errors.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/profile/parser_test_support.h"

namespace {

using qmtest::ParseText;
using Lines = std::vector<std::string>;

TEST(ParserDiagnosticsTest, FoundItemsNameEachKindOfEntry) {
  const auto parsed = ParseText(
      "[ My Sec ]\nK1=v1\nK2=\"q v\"\nL=\nm1\n\"qm\"\nNext=n ; note\there\n");
  const Lines expected = {
      "Section Name\t->MySec",       "Found key \t->K1",        "Found single value \t->v1",
      "Found key \t->K2",            "Found quoted single value\t->q v",
      "Found key \t->L",             "Found value list member\t->m1",
      "Found key\t->qm",             "Found key\t->Next",        "Found single value \t->n",
      "Comment\t-> notehere",
  };
  EXPECT_EQ(parsed.diagnostics.foundItems, expected);
}

TEST(ParserDiagnosticsTest, ErrorLinesHoldTheLineNumberAndTheWholeLine) {
  const auto parsed = ParseText("[S]\r\nKey=Value Other\r\n\r\nK2 \"x\"");
  const Lines expected = {
      "Line 2-> Key=Value Other\n",
      "Line 4-> K2 \"x\"", "Line 4-> K2 \"x\"", "Line 4-> K2 \"x\"", "Line 4-> K2 \"x\"",
  };
  EXPECT_EQ(parsed.diagnostics.errors, expected);
}

TEST(ParserDiagnosticsTest, AnErrorAtTheEndOfInputNamesTheLastLine) {
  const auto parsed = ParseText("[S]\nK=\"open\nquote");
  EXPECT_EQ(parsed.diagnostics.errors, Lines{"Line 3-> quote"});
}

TEST(ParserDiagnosticsTest, ANulByteIsAnInternalErrorThenAGrammarError) {
  const auto parsed = ParseText(std::string("[S]\nK\0=1\n", 9));
  const Lines expected = {
      "Internal Error - Unknown Special Character - state machine needs fixing",
      std::string("Line 2-> K\0=1\n", 14),
      std::string("Line 2-> K\0=1\n", 14),
      std::string("Line 2-> K\0=1\n", 14),
  };
  EXPECT_EQ(parsed.diagnostics.errors, expected);
}

TEST(ParserDiagnosticsTest, TraceNamesTheTwoChangesOutOfStartAndMarksTheOthers) {
  const auto parsed = ParseText("; c\n[S]\nK=V\n");
  // Start -> Comment, back to Start, Start -> Section, Section Found, Section
  // Key, Section Key Found, Section Equal, Single Value Found, Post Single Value Found.
  const Lines expected = {"x", "x", "*** State change - Start -> Section via open brace", "x", "x", "x", "x", "x", "x"};
  EXPECT_EQ(parsed.diagnostics.trace, expected);
}

class ParserDiagnosticsFileTest : public qmtest::ProfileFilesTest {};

TEST_F(ParserDiagnosticsFileTest, TraceOfAnIncludeFromStart) {
  Write("cv_setup.ini", "#include \"missing.ini\"\n");
  const auto parsed = ParseFile("cv_setup.ini");
  // Include, Include Keyword, Include Filename, then back to the kept Start.
  const Lines expected = {"*** State change - Start -> Include via pound character", "x", "x", "x"};
  EXPECT_EQ(parsed.diagnostics.trace, expected);
}

TEST_F(ParserDiagnosticsFileTest, AFailingReadAtTheFirstTokenIsAnInternalError) {
  // The process's own memory file is a plain file whose first byte cannot be read.
  ProfileFile file("Z:\\proc\\self\\mem");
  const auto diagnostics = file.Load();
  EXPECT_EQ(diagnostics.errors, Lines{"Internal error - ERROR in test_initoken, yes this is bad news"});
  EXPECT_TRUE(file.Sections().empty());
}

TEST_F(ParserDiagnosticsFileTest, EachLoadStartsWithEmptyLists) {
  Write("cv_setup.ini", "[S]\nx y\n");
  ProfileFile file("cv_setup.ini");
  EXPECT_EQ(file.Load().errors.size(), 1u);
  EXPECT_EQ(file.Load().errors.size(), 1u);
}

TEST(ParserDiagnosticsTest, TheErrorListStopsGrowingAtItsBudget) {
  // Every "]" of this line is an error that would hold the whole line.
  const std::string line(256 * 1024, ']');
  const auto parsed = ParseText(line + "\n[S]\nK=V\n");
  const Lines& errors = parsed.diagnostics.errors;
  ASSERT_FALSE(errors.empty());
  EXPECT_EQ(errors.back(), ParserContext::kErrorListFull);
  std::size_t total = 0;
  for (const std::string& error : errors) total += error.size();
  EXPECT_LE(total, ParserContext::kErrorTextBudget + errors.back().size());
  EXPECT_EQ(errors.front(), "Line 1-> " + line + "\n");
  // Parsing itself went on.
  EXPECT_EQ(qmtest::Dump(parsed.file), "[S] K{V}");
}

}  // namespace
