// qmrc run as the build runs it: exit status, messages, and the files it writes.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/common/temp_dir.h"
#include "tests/tools/qmrc_test_support.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;
using qmtest::ReadFileText;
using qmtest::RunTool;
using qmtest::TempDir;
using qmtest::WriteFileText;

// A mistake in the script fails the build step with the file and line.
TEST(QmrcProgram, MistakeExitsOneWithFileAndLineAndWritesNothing) {
  TempDir dir("qmrc-program");
  const fs::path script = dir / "bad.rc";
  WriteFileText(script, "1 DIALOGEX 0, 0, 10, 10\nBEGIN\n  PUSHBUTTON \"OK\" 1, 0, 0, 50, 14\nEND\n");
  const fs::path output = dir / "out.cpp";
  const auto result = RunTool("qmrc", {"--symbol", "Res", "--output", output.string(), script.string()});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, script.string() + ":3: error: expected ',' after the text of PUSHBUTTON, found '1'\n");
  EXPECT_FALSE(fs::exists(output));
}

TEST(QmrcProgram, MistakeInAHeaderNamesTheHeader) {
  TempDir dir("qmrc-program");
  WriteFileText(dir / "ids.h", "#define IDD_A 100\n#define IDD_B\t$\n");
  WriteFileText(dir / "bad.rc", "#include \"ids.h\"\n");
  const auto result = RunTool("qmrc", {"--symbol", "Res", "--output", (dir / "o.cpp").string(), (dir / "bad.rc").string()});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err.rfind((dir / "ids.h").string() + ":2: error: unexpected character '$'", 0), 0u) << result.err;
}

TEST(QmrcProgram, UsageErrorsExitTwo) {
  EXPECT_EQ(RunTool("qmrc", {}).exitCode, 2);
  EXPECT_EQ(RunTool("qmrc", {"--output", "x.cpp", "a.rc"}).exitCode, 2);
  EXPECT_EQ(RunTool("qmrc", {"--symbol", "A", "a.rc"}).exitCode, 2);
  EXPECT_EQ(RunTool("qmrc", {"--symbol", "A", "--output", "x.cpp", "--frobnicate", "a.rc"}).exitCode, 2);
  EXPECT_EQ(RunTool("qmrc", {"--symbol", "1A", "--output", "x.cpp", "a.rc"}).exitCode, 2);
  EXPECT_EQ(RunTool("qmrc", {"--symbol", "A", "--output"}).exitCode, 2);
  const auto help = RunTool("qmrc", {"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: qmrc --symbol NAME --output OUT.cpp"), std::string::npos);
  const auto version = RunTool("qmrc", {"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("qmrc ", 0), 0u);
}

TEST(QmrcProgram, WritesTheOutputOnlyWhenItChangesAndListsWhatItRead) {
  TempDir dir("qmrc-program");
  WriteFileText(dir / "ids.h", "#define IDB_PIC 5\n");
  WriteFileText(dir / "my pic.bmp", qmtest::MakeBmp(2, 2));
  const fs::path script = dir / "good.rc";
  WriteFileText(script, "#include \"ids.h\"\nIDB_PIC BITMAP \"my pic.bmp\"\nSTRINGTABLE { 1, \"one\" }\n");
  const fs::path output = dir / "gen/out.cpp";
  const fs::path depfile = dir / "gen/out.d";
  const std::vector<std::string> args{"--symbol", "a::b::Res", "--output", output.string(),
                                      "--depfile", depfile.string(), script.string()};
  ASSERT_EQ(RunTool("qmrc", args).exitCode, 0);
  const std::string generated = ReadFileText(output);
  EXPECT_NE(generated.find("namespace b {"), std::string::npos);
  EXPECT_NE(generated.find("const platform::ResourceModule& Res()"), std::string::npos);

  const std::string deps = ReadFileText(depfile);
  EXPECT_EQ(deps.rfind(output.string() + ":", 0), 0u) << deps;
  EXPECT_NE(deps.find(script.string()), std::string::npos) << deps;
  EXPECT_NE(deps.find((dir / "ids.h").string()), std::string::npos) << deps;
  EXPECT_NE(deps.find((dir / "my\\ pic.bmp").string()), std::string::npos) << deps;

  // An unchanged result leaves the file alone, so the build links nothing anew.
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
  fs::last_write_time(output, old);
  fs::remove(depfile);
  ASSERT_EQ(RunTool("qmrc", args).exitCode, 0);
  EXPECT_EQ(fs::last_write_time(output), old);
  EXPECT_TRUE(fs::exists(depfile));

  // A changed script replaces it; a broken one keeps the last good output.
  WriteFileText(script, "STRINGTABLE { 1, \"two\" }\n");
  ASSERT_EQ(RunTool("qmrc", args).exitCode, 0);
  EXPECT_NE(fs::last_write_time(output), old);
  const std::string second = ReadFileText(output);
  EXPECT_NE(second.find("\"two\"sv"), std::string::npos);
  WriteFileText(script, "STRINGTABLE { 1 \"x\" \"y\" }\n");
  EXPECT_EQ(RunTool("qmrc", args).exitCode, 1);
  EXPECT_EQ(ReadFileText(output), second);
}

}  // namespace
