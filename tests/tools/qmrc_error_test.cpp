// The resource compiler on faulty scripts: every mistake stops it with the file
// and line where it is.

#include <gtest/gtest.h>

#include "tests/tools/qmrc_test_support.h"

namespace {

using qmtest::ScriptDir;

struct FaultyScript {
  const char* name;
  const char* script;
  int line;             // where the message must point, in test.rc
  const char* message;  // a part of the message
};

void PrintTo(const FaultyScript& fault, std::ostream* out) { *out << fault.name; }

class QmrcScriptErrors : public testing::TestWithParam<FaultyScript> {};

TEST_P(QmrcScriptErrors, NameFileAndLine) {
  const FaultyScript& fault = GetParam();
  ScriptDir dir;
  const std::string error = dir.ErrorOf(fault.script);
  const std::string where = dir.ScriptPath() + ":" + std::to_string(fault.line) + ": error: ";
  EXPECT_EQ(error.rfind(where, 0), 0u) << error;
  EXPECT_NE(error.find(fault.message), std::string::npos) << error;
}

constexpr const char* kDialogStart = "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n";

const FaultyScript kFaults[] = {
    {"UnknownResourceType", "\n1 DIALOGUE 0, 0, 1, 1\n", 2, "unknown resource type 'DIALOGUE'"},
    {"UnknownControl", "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  LABEL \"x\", 1, 0, 0, 1, 1\nEND\n", 3,
     "expected a control statement or END"},
    {"MissingCommaInLine", "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  LTEXT \"x\" 1, 0, 0, 1, 1\nEND\n", 3, "expected ','"},
    {"MissingCommaAtLineEnd", "1 DIALOG 0, 0, 10\n  10\nBEGIN\nEND\n", 1, "expected ',' after the DIALOG's width"},
    {"UnknownIdentifier", "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n\n  PUSHBUTTON \"x\", IDC_NOPE, 0, 0, 1, 1\nEND\n", 4,
     "unknown identifier 'IDC_NOPE'"},
    {"UnknownStyle", "1 DIALOGEX 0, 0, 10, 10\nSTYLE WS_POPUP | WS_SHINY\nBEGIN\nEND\n", 2, "'WS_SHINY'"},
    {"DuplicateDialog", "5 DIALOG 0, 0, 1, 1\nBEGIN\nEND\n5 DIALOG 0, 0, 1, 1\nBEGIN\nEND\n", 4,
     "duplicate dialog 5 (first defined at "},
    {"DuplicateControlId",
     "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", -1, 0, 0, 1, 1\n  LTEXT \"b\", 0xFFFF, 0, 0, 1, 1\n"
     "  PUSHBUTTON \"c\", 7, 0, 0, 1, 1\n  PUSHBUTTON \"d\", 7, 0, 0, 1, 1\nEND\n",
     6, "duplicate control id 7 in dialog 1"},
    {"DuplicateString", "STRINGTABLE\nBEGIN\n  1, \"a\"\n  2, \"b\"\n  1, \"c\"\nEND\n", 5, "duplicate string id 1"},
    {"AdjacentStrings", "STRINGTABLE\nBEGIN\n  1, \"a\"\n     \"b\"\nEND\n", 4, "adjacent strings are not joined"},
    {"UnterminatedString", "STRINGTABLE\nBEGIN\n  1, \"open\nEND\n", 3, "unterminated string"},
    {"UnterminatedDialog", "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", 1, 0, 0, 1, 1\n", 2,
     "BEGIN without a matching END"},
    {"UnterminatedStringTable", "\nSTRINGTABLE\nBEGIN\n  1, \"a\"\n", 3, "BEGIN without a matching END"},
    {"UnterminatedComment", "1 DIALOG 0, 0, 1, 1\n/* open\n\n", 2, "unterminated comment"},
    {"UnterminatedIf", "\n#ifdef X\n1 DIALOG 0, 0, 1, 1\n", 2, "#if without #endif"},
    {"ElseWithoutIf", "#else\n", 1, "#else without #if"},
    {"ErrorDirective", "#if 1 + 1 == 2\n#error stop here\n#endif\n", 2, "#error stop here"},
    {"MissingInclude", "\n\n#include \"nothere.h\"\n", 3, "cannot open include file 'nothere.h'"},
    {"MissingBitmap", "\nLOGO BITMAP \"missing.bmp\"\n", 2, "cannot open bitmap file"},
    {"CoordinateOutOfRange", "1 DIALOG 0, 0, 40000, 1\nBEGIN\nEND\n", 1, "out of range"},
    {"ControlIdOutOfRange", "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  EDITTEXT 70000, 0, 0, 1, 1\nEND\n", 3,
     "control id out of range"},
    {"DialogNamedByText", "IDD_UNDEFINED DIALOGEX 0, 0, 1, 1\nBEGIN\nEND\n", 1, "must be numbered"},
    {"NotInAnId", "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  EDITTEXT NOT 3, 0, 0, 1, 1\nEND\n", 3, "NOT is only allowed"},
    {"FunctionLikeMacro", "#define ID(x) (x)\n1 DIALOG 0, 0, 1, 1\nBEGIN\n  EDITTEXT ID(3), 0, 0, 1, 1\nEND\n", 4,
     "function-like macro 'ID'"},
    {"MalformedNumber", "1 DIALOG 0, 0, 1, 1x\n", 1, "malformed number '1x'"},
    {"StrayCharacter", "1 DIALOG 0, 0, 1, 1 @\n", 1, "unexpected character '@'"},
};

INSTANTIATE_TEST_SUITE_P(Faults, QmrcScriptErrors, testing::ValuesIn(kFaults),
                         [](const testing::TestParamInfo<FaultyScript>& info) { return info.param.name; });

TEST(QmrcHeaderErrors, MistakeInAnIncludedHeaderNamesTheHeader) {
  ScriptDir dir;
  dir.Add("resource.h", "#define IDD_A 100\n#define IDD_B 101\n#define IDD_C 0x1G\n");
  const std::string error = dir.ErrorOf("#include \"resource.h\"\nIDD_A DIALOG 0, 0, 1, 1\nBEGIN\nEND\n");
  EXPECT_EQ(error, (dir.Dir() / "resource.h").string() + ":3: error: malformed number '0x1G'");
}

TEST(QmrcHeaderErrors, MistakeInANestedHeaderAndAnUnterminatedIfThere) {
  ScriptDir dir;
  dir.Add("inc/outer.h", "#include \"inner.h\"\n");
  dir.Add("inc/inner.h", "\n\n#ifndef GUARD\n#define GUARD\n");
  const std::string error = dir.ErrorOf("#include \"inc/outer.h\"\n");
  EXPECT_EQ(error, (dir.Dir() / "inc/inner.h").string() + ":3: error: #if without #endif");
}

TEST(QmrcHeaderErrors, HeaderThatIncludesItselfStops) {
  ScriptDir dir;
  dir.Add("loop.h", "#include \"loop.h\"\n");
  const std::string error = dir.ErrorOf("#include \"loop.h\"\n");
  EXPECT_NE(error.find("nested too deeply"), std::string::npos) << error;
}

// Nesting a hand-written script never reaches is refused with a message, in a
// style, a number and an #if condition alike, instead of exhausting the stack.
TEST(QmrcExpressionErrors, NestingBeyondTheLimitIsRefused) {
  const auto nested = [](int depth, const std::string& core) {
    return std::string(depth, '(') + core + std::string(depth, ')');
  };
  ScriptDir dir;
  EXPECT_EQ(dir.ErrorOf("1 DIALOG 0, 0, " + nested(200, "-~3") + ", 1\nBEGIN\nEND\n"), "");
  const std::string deep = std::string(100000, '(');
  EXPECT_NE(dir.ErrorOf("1 DIALOG 0, 0, 1, 1\nSTYLE " + deep + "\n").find("2: error: a style is nested too deeply"),
            std::string::npos);
  EXPECT_NE(dir.ErrorOf("1 DIALOG 0, 0, " + std::string(100000, '-') + "1, 1\n").find("nested too deeply"),
            std::string::npos);
  EXPECT_NE(dir.ErrorOf("#if " + deep + "\n#endif\n").find("1: error: a condition is nested too deeply"),
            std::string::npos);
}

// A file that starts like a BMP but is cut short or lies about itself.
TEST(QmrcBitmapErrors, DamagedFilesAreRefused) {
  const std::string sound = qmtest::MakeBmp(4, 4);
  struct Damage {
    const char* what;
    std::string bytes;
    const char* message;
  };
  std::string wrongSize = sound;
  wrongSize[2] = static_cast<char>(wrongSize[2] + 1);
  std::string cutShort = sound.substr(0, sound.size() - 4);
  cutShort[2] = static_cast<char>(cutShort.size());
  std::string badHeader = sound;
  badHeader[14] = 41;
  std::string badOffset = sound;
  badOffset[10] = static_cast<char>(0xF0);
  const Damage damages[] = {
      {"not a BMP", "GIF89a and more bytes than a header needs", "does not start with \"BM\""},
      {"size field", wrongSize, "its header gives the size"},
      {"pixels missing", cutShort, "the pixels need"},
      {"header size", badHeader, "unknown header size 41"},
      {"pixel offset", badOffset, "pixel data offset"},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    ScriptDir dir;
    dir.Add("pic.bmp", damage.bytes);
    const std::string error = dir.ErrorOf("\n\nPIC BITMAP \"pic.bmp\"\n");
    EXPECT_EQ(error.rfind(dir.ScriptPath() + ":3: error: ", 0), 0u) << error;
    EXPECT_NE(error.find(damage.message), std::string::npos) << error;
  }
}

TEST(QmrcBitmapErrors, DuplicateBitmapNamesIgnoreCase) {
  ScriptDir dir;
  dir.Add("a.bmp", qmtest::MakeBmp(1, 1));
  const std::string error = dir.ErrorOf("Logo BITMAP \"a.bmp\"\nLOGO BITMAP \"a.bmp\"\n");
  EXPECT_EQ(error.rfind(dir.ScriptPath() + ":2: error: duplicate bitmap 'LOGO'", 0), 0u) << error;
}

}  // namespace
