// Includes: the states in which they are read, where they are errors, missing
// and unusual files, and the guards against recursion.

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "tests/profile/parser_test_support.h"

namespace {

using qmtest::Dump;

class ParserIncludeTest : public qmtest::ProfileFilesTest {};

struct IncludeCase {
  const char* name;
  std::string profile;
  std::string included;  // written as inc.ini
  const char* tree;
  std::size_t errors;
};

// ctest lists a case by its name rather than by the bytes of the record.
void PrintTo(const IncludeCase& c, std::ostream* out) { *out << c.name; }

class ParserIncludePlacesTest : public qmtest::ProfileFilesTest,
                                public ::testing::WithParamInterface<IncludeCase> {};

TEST_P(ParserIncludePlacesTest, ReadsTheFileInTheStateOfThePound) {
  Write("inc.ini", GetParam().included);
  Write("cv_setup.ini", GetParam().profile);
  const auto parsed = ParseFile("cv_setup.ini");
  EXPECT_EQ(Dump(parsed.file), GetParam().tree);
  EXPECT_EQ(parsed.diagnostics.errors.size(), GetParam().errors) << ::testing::PrintToString(parsed.diagnostics.errors);
}

INSTANTIATE_TEST_SUITE_P(
    Allowed, ParserIncludePlacesTest,
    ::testing::Values(
        IncludeCase{"Start", "#include \"inc.ini\"\n[B]\nY=2\n", "[A]\nX=1\n", "[A] X{1}\n[B] Y{2}", 0},
        IncludeCase{"SectionKey", "[S]\n#include \"inc.ini\"\nK=V\n", "A=1\n", "[S] A{1} K{V}", 0},
        IncludeCase{"PostSingleValueFound", "[S]\nK=V\n#include \"inc.ini\"\nL=W\n", "A=1\n", "[S] K{V} A{1} L{W}", 0},
        IncludeCase{"ValueList", "[S]\nK=\n#include \"inc.ini\"\nm3\n", "m1\n\"m2\"\n", "[S] K{m1}{m2}{m3}", 0},
        IncludeCase{"PostListValueFound", "[S]\nK=\nm0\n#include \"inc.ini\"\nm3\n", "m1\nm2", "[S] K{m0}{m1}{m2}{m3}", 0},
        IncludeCase{"KeywordInCapitals", "[S]\n#INCLUDE \"inc.ini\"\n", "A=1\n", "[S] A{1}", 0},
        IncludeCase{"LineEndsBetweenTheParts", "[S]\n#\ninclude\n\n\"inc.ini\"\nK=V\n", "A=1\n", "[S] A{1} K{V}", 0},
        IncludeCase{"BlanksBetweenTheParts", "[S]\n# \tinclude  \"inc.ini\"  ; c\nK=V\n", "A=1\n", "[S] A{1} K{V}", 0},
        // The text after the closing quote goes on in the state the included file ended in.
        IncludeCase{"OuterTextContinuesTheIncludedState", "[S]\n#include \"inc.ini\"\nm1\n", "K=", "[S] K{m1}", 0},
        IncludeCase{"IncludedFileEndsInAComment", "[S]\n#include \"inc.ini\" rest of it\nB=2\n", "A=1 ; no line end",
                    "[S] A{1} B{2}", 0},
        IncludeCase{"IncludedFileEndsInAHeader", "#include \"inc.ini\"]\nB=2\n", "[T", "[T] B{2}", 0},
        IncludeCase{"IncludedFileEndsInAQuote", "[S]\nL=\n#include \"inc.ini\"\n[T]\nK=\n\"b\"\n", "\"a",
                    "[S] L\n[T] K{b}", 1}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Refused, ParserIncludePlacesTest,
    ::testing::Values(
        // "#", then "include", the quotes and the name each cost a line of the error list.
        IncludeCase{"AfterHeader", "[S] #include \"inc.ini\"\n", "A=1\n", "[S]", 5},
        IncludeCase{"AfterEquals", "[S]\nK=#include \"inc.ini\"\n", "A=1\n", "[S] K", 5},
        IncludeCase{"AfterSingleValue", "[S]\nK=V #include \"inc.ini\"\n", "A=1\n", "[S] K{V}", 5},
        IncludeCase{"AfterKeyName", "[S]\nK #include \"inc.ini\"\n", "A=1\n", "[S]", 5},
        IncludeCase{"AfterListWord", "[S]\nK=\nm #include \"inc.ini\"\n", "A=1\n", "[S] K", 5},
        IncludeCase{"LongerKeyword", "[S]\n#includes \"inc.ini\"\n", "A=1\n", "[S]", 4},
        IncludeCase{"NoQuotes", "[S]\n#include inc.ini\n", "A=1\n", "[S]", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParserIncludeTest, AMissingFileChangesNothingAndReportsNothing) {
  Write("cv_setup.ini", "[S]\nK=V\n#include \"nope.ini\"\nL=\n#include \"nope.ini\"\nm\n");
  const auto parsed = ParseFile("cv_setup.ini");
  EXPECT_EQ(Dump(parsed.file), "[S] K{V} L{m}");
  EXPECT_TRUE(parsed.diagnostics.errors.empty());
}

TEST_F(ParserIncludeTest, NamesAreWindowsNamesRelativeToTheCurrentDirectory) {
  Write("sub/my inc.ini", "[A]\nX=1\n");
  Write("sub/tabbed.ini", "[B]\nY=2\n");
  // Blanks are part of the name, tabs are dropped; letter case does not matter.
  Write("cv_setup.ini", "#include \"SUB\\My Inc.INI\"\n#include \"sub/tab\tbed.ini\"\n");
  const auto parsed = ParseFile("cv_setup.ini");
  EXPECT_EQ(Dump(parsed.file), "[A] X{1}\n[B] Y{2}");
  EXPECT_TRUE(parsed.diagnostics.errors.empty());
}

TEST_F(ParserIncludeTest, IncludesFromATextInMemoryReadFilesToo) {
  Write("inc.ini", "X=1\n");
  ProfileFile file("memory");
  const auto diagnostics = ParseProfileText(file, "[S]\n#include \"inc.ini\"\n");
  EXPECT_EQ(Dump(file), "[S] X{1}");
  EXPECT_TRUE(diagnostics.errors.empty());
}

TEST_F(ParserIncludeTest, TheSameFileMayBeIncludedAgainOnceItIsRead) {
  Write("b.ini", "m\n");
  Write("a.ini", "[S]\nK=\n#include \"b.ini\"\n#include \"B.INI\"\n");
  const auto parsed = ParseFile("a.ini");
  EXPECT_EQ(Dump(parsed.file), "[S] K{m}{m}");
  EXPECT_TRUE(parsed.diagnostics.errors.empty());
}

TEST_F(ParserIncludeTest, AFileIncludingItselfIsReadOnce) {
  Write("a.ini", "[A]\n#include \"A.INI\"\nK=V\n");
  const auto parsed = ParseFile("a.ini");
  EXPECT_EQ(Dump(parsed.file), "[A] K{V}");
  EXPECT_EQ(parsed.diagnostics.errors, std::vector<std::string>{"Include of 'A.INI' skipped: it includes itself"});
}

TEST_F(ParserIncludeTest, FilesIncludingEachOtherAreReadOnceEach) {
  Write("a.ini", "[A]\n#include \"b.ini\"\n");
  Write("b.ini", "X=1\n#include \"./a.ini\"\nY=2\n");
  const auto parsed = ParseFile("a.ini");
  EXPECT_EQ(Dump(parsed.file), "[A] X{1} Y{2}");
  EXPECT_EQ(parsed.diagnostics.errors, std::vector<std::string>{"Include of './a.ini' skipped: it includes itself"});
}

TEST_F(ParserIncludeTest, NestingStopsAtThirtyTwoIncludes) {
  const int files = ParserContext::kMaxIncludeNesting + 5;
  Write("d0.ini", "[D]\n#include \"d1.ini\"\n");
  for (int i = 1; i < files; ++i) {
    const std::string n = std::to_string(i);
    Write("d" + n + ".ini", "K" + n + "=v\n#include \"d" + std::to_string(i + 1) + ".ini\"\n");
  }
  const auto parsed = ParseFile("d0.ini");
  ASSERT_EQ(parsed.file.Sections().size(), 1u);
  const auto& keys = parsed.file.Sections()[0].Keys();
  ASSERT_EQ(keys.size(), static_cast<std::size_t>(ParserContext::kMaxIncludeNesting));
  EXPECT_EQ(keys.back().Name(), "K32");
  EXPECT_EQ(parsed.diagnostics.errors, std::vector<std::string>{"Include of 'd33.ini' skipped: nested too deeply"});
}

TEST_F(ParserIncludeTest, ReadingStopsAfterAThousandIncludes) {
  // Each file includes the next twice: 2^20 includes unless something stops them.
  Write("cv_setup.ini", "[S]\n#include \"b0.ini\"\n");
  for (int i = 0; i < 20; ++i) {
    const std::string next = "b" + std::to_string(i + 1) + ".ini";
    Write("b" + std::to_string(i) + ".ini", "#include \"" + next + "\"\n#include \"" + next + "\"\n");
  }
  Write("b20.ini", "K=v\n");
  const auto parsed = ParseFile("cv_setup.ini");
  ASSERT_FALSE(parsed.diagnostics.errors.empty());
  EXPECT_EQ(parsed.diagnostics.errors.front().rfind("Include of 'b", 0), 0u);
  EXPECT_NE(parsed.diagnostics.errors.front().find("skipped: more than 1000 includes in one profile"),
            std::string::npos);
  EXPECT_LE(parsed.file.Sections()[0].Keys().size(), static_cast<std::size_t>(ParserContext::kMaxIncludes));
}

TEST_F(ParserIncludeTest, OnlyPlainFilesAreRead) {
  // A pipe without a writer would block the open, a directory is no text:
  // both read as missing files.
  ASSERT_EQ(::mkfifo((WorkDir() / "pipe.ini").c_str(), 0600), 0);
  std::filesystem::create_directory(WorkDir() / "dir.ini");
  Write("cv_setup.ini", "[S]\nK=\n#include \"pipe.ini\"\n#include \"dir.ini\"\nm\n");
  const auto parsed = ParseFile("cv_setup.ini");
  EXPECT_EQ(Dump(parsed.file), "[S] K{m}");
  EXPECT_TRUE(parsed.diagnostics.errors.empty());
}

TEST_F(ParserIncludeTest, ErrorLinesNameTheLineOfTheIncludedFile) {
  Write("inc.ini", "A=1\nB=2 3\n");
  Write("cv_setup.ini", "[S]\n#include \"inc.ini\"\nC 4\n");
  const auto parsed = ParseFile("cv_setup.ini");
  const std::vector<std::string> expected = {"Line 2-> B=2 3\n", "Line 3-> C 4\n", "Line 3-> C 4\n"};
  EXPECT_EQ(parsed.diagnostics.errors, expected);
}

}  // namespace
