// The grammar the parser's states give: what reaches the tree, and how many
// error lines a text costs. Error texts themselves are in parser_diagnostics_test.

#include <gtest/gtest.h>

#include <string>

#include "tests/profile/parser_test_support.h"

namespace {

using qmtest::Dump;
using qmtest::ParseText;

struct GrammarCase {
  const char* name;
  std::string input;
  const char* tree;    // as qmtest::Dump renders it
  std::size_t errors;  // lines in the error list
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const GrammarCase& c, std::ostream* out) { *out << c.name; }

class ParserGrammarTest : public ::testing::TestWithParam<GrammarCase> {};

TEST_P(ParserGrammarTest, BuildsTheTree) {
  const auto parsed = ParseText(GetParam().input);
  EXPECT_EQ(Dump(parsed.file), GetParam().tree);
  EXPECT_EQ(parsed.diagnostics.errors.size(), GetParam().errors) << ::testing::PrintToString(parsed.diagnostics.errors);
}

std::string WithNul(const char* before, const char* after) { return std::string(before) + '\0' + after; }

// Keys, single, quoted and list values, and comments where they may stand.
INSTANTIATE_TEST_SUITE_P(
    Values, ParserGrammarTest,
    ::testing::Values(
        GrammarCase{"Empty", "", "", 0},
        GrammarCase{"OnlyComments", "; one\n;two\n", "", 0},
        GrammarCase{"SingleValue", "[S]\nKey=Value\n", "[S] Key{Value}", 0},
        GrammarCase{"BlanksAroundEquals", "[S]\n\tKey \t= Value \t\n", "[S] Key{Value}", 0},
        GrammarCase{"WordsKeepPathCharacters", "[S]\nPath=C:\\dir\\a'b/c.txt\n", "[S] Path{C:\\dir\\a'b/c.txt}", 0},
        GrammarCase{"QuotedValueKeepsBlanks", "[S]\nKey=\"two  words\"\n", "[S] Key{two  words}", 0},
        GrammarCase{"QuotedValueKeepsSpecials", "[S]\nKey=\"a\t[b] #c;d=e\"\n", "[S] Key{a\t[b] #c;d=e}", 0},
        GrammarCase{"QuotedValueDropsLineEnds", "[S]\nKey=\"a\nb\r\nc\"\n", "[S] Key{abc}", 0},
        GrammarCase{"EmptyQuotedValue", "[S]\nKey=\"\"\n", "[S] Key{}", 0},
        GrammarCase{"CommentAfterValues", "[S] ; head\nA=1 ; one\nB=\"2\" ; two\n", "[S] A{1} B{2}", 0},
        GrammarCase{"ValueList", "[S]\nKey=\nalpha\nbeta ; note\nNext=1\n", "[S] Key{alpha}{beta} Next{1}", 0},
        GrammarCase{"ListWithBlankAndCommentLines", "[S]\nKey=\n\nalpha\n; c\n\nbeta\n", "[S] Key{alpha}{beta}", 0},
        GrammarCase{"QuotedListMembers", "[S]\nKey=\n\"a=b;c\"\n\"d e\" ; c\nw\n", "[S] Key{a=b;c}{d e}{w}", 0},
        GrammarCase{"ListEndsAtKeyWithBlanks", "[S]\nKey=\nm\nNext = \"q\"\n", "[S] Key{m} Next{q}", 0},
        GrammarCase{"EmptyListThenKey", "[S]\nKey=\nNext=1\n", "[S] Key Next{1}", 0},
        GrammarCase{"CommentRightAfterEquals", "[S]\nKey=;c\nm1\nm2\n", "[S] Key{m1}{m2}", 0},
        GrammarCase{"DuplicatesStay", "[S]\nK=1\nK=2\n[s]\nK=3\n", "[S] K{1} K{2}\n[s] K{3}", 0},
        GrammarCase{"SectionWithOnlyComments", "[S]\n; a\n; b\n", "[S]", 0},
        GrammarCase{"NoFinalLineFeedSingle", "[S]\nKey=Value", "[S] Key{Value}", 0},
        GrammarCase{"NoFinalLineFeedQuoted", "[S]\nKey=\"v\"", "[S] Key{v}", 0},
        GrammarCase{"NoFinalLineFeedListMember", "[S]\nKey=\na\nb", "[S] Key{a}{b}", 0},
        GrammarCase{"NoFinalLineFeedInComment", "[S]\nKey=Value ; c", "[S] Key{Value}", 0},
        GrammarCase{"NoFinalLineFeedAfterEquals", "[S]\nKey=", "[S] Key", 0},
        GrammarCase{"FormFeedAndVerticalTabAreBlanks", "\f[S]\v\nK\v=\fV\n", "[S] K{V}", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Section headers: what is dropped inside the brackets, and where a header may stand.
INSTANTIATE_TEST_SUITE_P(
    Headers, ParserGrammarTest,
    ::testing::Values(
        GrammarCase{"BlanksAroundName", "[ Option ]\n", "[Option]", 0},
        GrammarCase{"BlanksInsideNameDropped", "[My Options]\n", "[MyOptions]", 0},
        GrammarCase{"TabsAndLineEndsInsideDropped", "[\tMy\n Options\t]\n", "[MyOptions]", 0},
        GrammarCase{"CaseKept", "[OpTion]\nKeY=vAl\n", "[OpTion] KeY{vAl}", 0},
        GrammarCase{"HeaderAtEndOfFile", "[S]", "[S]", 0},
        GrammarCase{"HeaderAfterList", "[S]\nK=\nm\n[T]\nX=1\n", "[S] K{m}\n[T] X{1}", 0},
        GrammarCase{"HeaderAfterQuotedList", "[S]\nK=\n\"m\"\n[T]\n", "[S] K{m}\n[T]", 0},
        GrammarCase{"HeaderAfterSingleValue", "[S]\nK=1\n[T]\n", "[S] K{1}\n[T]", 0},
        // "[", "T", "]", then each token of the key line: the second header and its keys are lost.
        GrammarCase{"HeaderDirectlyAfterHeader", "[A]\n[T]\nK=V\n[C]\nX=1\n", "[A]\n[C] X{1}", 6},
        GrammarCase{"HeaderDirectlyAfterEmptyList", "[S]\nK=\n[T]\nX=1\n[C]\n", "[S] K\n[C]", 6},
        GrammarCase{"HeaderAfterCommentsOfAHeader", "[S]\n; a\n[T]\n", "[S]", 3},
        GrammarCase{"WordAfterHeader", "[S] x\nK=V\n", "[S]", 4},
        GrammarCase{"PoundAfterHeader", "[S] #include \"x\"\nK=V\n", "[S]", 8},
        GrammarCase{"KeyBeforeAnySection", "K=V\n[S]\nA=1\n", "[S] A{1}", 3},
        GrammarCase{"CloseBracketAlone", "]\n[S]\n", "[S]", 1}),
    [](const auto& info) { return std::string(info.param.name); });

// A grammar error costs the rest of its section; what was added stays.
INSTANTIATE_TEST_SUITE_P(
    Errors, ParserGrammarTest,
    ::testing::Values(
        GrammarCase{"SecondWordAfterEquals", "[S]\nKey=Value Other\nK2=V2\n[T]\nA=1\n", "[S] Key{Value}\n[T] A{1}", 4},
        GrammarCase{"WordAfterQuotedValue", "[S]\nKey=\"v\" w\nK2=V2\n", "[S] Key{v}", 4},
        GrammarCase{"TwoWordsOnAListLine", "[S]\nKey=\nm1 m2\nm3\n", "[S] Key", 2},
        GrammarCase{"KeyWithoutEquals", "[S]\nKey Value\nK=V\n", "[S]", 4},
        GrammarCase{"PoundAfterValue", "[S]\nK=V #include \"x\"\n", "[S] K{V}", 5},
        GrammarCase{"PoundAfterEquals", "[S]\nK=#\n", "[S] K", 1},
        GrammarCase{"UnclosedQuoteAtEnd", "[S]\nK=\"abc", "[S] K", 1},
        GrammarCase{"UnclosedHeaderAtEnd", "[S]\nK=V\n[T", "[S] K{V}", 0},
        GrammarCase{"NulInKeyLine", WithNul("[S]\nK", "=V\nX=1\n[T]\nY=2\n"), "[S]\n[T] Y{2}", 7},
        GrammarCase{"NulInComment", WithNul("[S]\n; a", "b\nK=V\n"), "[S] K{V}", 1},
        GrammarCase{"NulInQuotedValue", WithNul("[S]\nK=\"a", "b\"\n"), "[S] K", 4}),
    [](const auto& info) { return std::string(info.param.name); });

// Line ends in every form the files come in.
INSTANTIATE_TEST_SUITE_P(
    LineEnds, ParserGrammarTest,
    ::testing::Values(
        GrammarCase{"CrLf", "[S]\r\nK=V\r\nL=\r\nm\r\n\"q\"\r\n", "[S] K{V} L{m}{q}", 0},
        GrammarCase{"LoneCrActsAsLineEnd", "[S]\rK=V\rL=\rm\rN=1", "[S] K{V} L{m} N{1}", 0},
        GrammarCase{"LoneCrEndsAComment", "[S]\nK=V ; c\rL=W\n", "[S] K{V} L{W}", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// After an error inside a header or a quoted value, what had been collected
// must not turn up in the next header or quoted value.
TEST(ParserRecoveryTest, AHeaderCutShortLeavesNothingForTheNext) {
  const auto parsed = ParseText("[Bad=x]\n[Option]\nK=V\n");
  EXPECT_EQ(Dump(parsed.file), "[Option] K{V}");
}

TEST(ParserRecoveryTest, AQuotedValueCutShortLeavesNothingForTheNext) {
  const auto parsed = ParseText(WithNul("[S]\nK=\n\"abc", "\"\n[T]\nL=\n\"xyz\"\nM=\"q\"\n"));
  EXPECT_EQ(Dump(parsed.file), "[S] K\n[T] L{xyz} M{q}");
}

}  // namespace
