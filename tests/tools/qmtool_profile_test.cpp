#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/common/temp_dir.h"
#include "tests/tools/run_tool.h"

namespace {

using qmtest::RunTool;
using qmtest::WriteFileText;

// A medium with a profile that includes a second file, has grammar errors, a
// bad option number, escapes, billboards and options out of order.
class QmtoolProfile : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFileText(dir_ / "cv_setup.ini",
                  "[interface]\n"
                  "WelcomeTitle = \"Welcome to Quillmark\"\n"
                  "WelcomeText = Two\\nLines\n"
                  "#include \"texts.ini\"\n"
                  "[Billboard]\n"
                  "bitmap = 145\n"
                  "text = \"Labels in minutes\"\n"
                  "[Option]\n"
                  "Option = 10\n"
                  "[Option]\n"
                  "Option = 2\n"
                  "Space = 5\n"
                  "[Option]\n"
                  "Option = 0\n"
                  "[Registry]\n"
                  "Key = one two\n");
    WriteFileText(dir_ / "texts.ini", "[interface]\nDoneTitle = \"All done\"\n");
  }

  qmtest::ToolResult Check(const std::vector<std::string>& extra) {
    std::vector<std::string> args{"profile", "check"};
    args.insert(args.end(), extra.begin(), extra.end());
    return RunTool("qmtool", args, {"QMSETUP_SYSTEM=" + (dir_ / "system").string()}, dir_.Path().string());
  }

  qmtest::TempDir dir_{"qmtool-profile"};
};

TEST_F(QmtoolProfile, TextShowsTreeErrorsMessagesAndReaders) {
  const auto result = Check({"cv_setup.ini"});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  const std::string& out = result.out;
  EXPECT_NE(out.find("    WelcomeText = \"Two\\\\nLines\"\n"), std::string::npos) << out;
  EXPECT_NE(out.find("    DoneTitle = \"All done\"\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Parse errors (1)\n  Line 16-> Key = one two\n"), std::string::npos) << out;
  EXPECT_NE(out.find("  Error - Options must be greater than 0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("  WelcomeText = \"Two\\nLines\"\n"), std::string::npos) << out;
  EXPECT_NE(out.find("  1. bitmap \"145\", text \"Labels in minutes\"\n"), std::string::npos) << out;
  // Options are held in byte order of their numbers: "0", "10", "2".
  const auto zero = out.find("  \"0\"  parent");
  const auto ten = out.find("  \"10\"  parent");
  const auto two = out.find("  \"2\"  parent");
  EXPECT_TRUE(zero < ten && ten < two) << out;
}

TEST_F(QmtoolProfile, JsonCarriesTheSameInOneDocument) {
  const auto result = Check({"--json", "cv_setup.ini"});
  EXPECT_EQ(result.exitCode, 1) << result.err;
  const auto doc = nlohmann::json::parse(result.out);
  ASSERT_EQ(doc["sections"].size(), 7u);
  EXPECT_EQ(doc["sections"][1]["name"], "interface");  // from the included file, in place
  EXPECT_EQ(doc["sections"][1]["keys"][0]["values"][0], "All done");
  EXPECT_EQ(doc["errors"][0], "Line 16-> Key = one two\n");
  EXPECT_EQ(doc["settings"]["WelcomeText"], "Two\nLines");
  EXPECT_EQ(doc["settings"]["DoneTitle"], "All done");
  EXPECT_FALSE(doc["settings"].contains("DisplaySplashFlag"));
  EXPECT_EQ(doc["billboards"][0]["bitmap"], "145");
  ASSERT_EQ(doc["options"].size(), 3u);
  EXPECT_EQ(doc["options"][2]["number"], "2");
  EXPECT_EQ(doc["options"][2]["space"], 100000);
  EXPECT_EQ(doc["messages"][0], "Error - Options must be greater than 0");
}

TEST_F(QmtoolProfile, ExitCodesTellCleanBrokenAndUnreadable) {
  WriteFileText(dir_ / "clean.ini", "[interface]\nDoneTitle = ok\n");
  EXPECT_EQ(Check({"clean.ini"}).exitCode, 0);
  const auto missing = Check({"missing.ini"});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
  EXPECT_EQ(Check({"."}).exitCode, 2);
  EXPECT_EQ(Check({}).exitCode, 2);
  EXPECT_EQ(RunTool("qmtool", {"profile", "check", "--help"}).exitCode, 0);
}

// The entries as the setup holds them at profile load: the split path, the
// resolved root, the type decided from the data before macros are replaced.
TEST_F(QmtoolProfile, RegistryEntriesShowTheirSplitPathRootTypeAndOption) {
  WriteFileText(dir_ / "reg.ini",
                "[Registry]\n"
                "KEY = HKEY_LOCAL_MACHINE\\Software\\\\Quill\\\n"
                "Name = Count\n"
                "Data = \"#42\"\n"
                "Option = 0\n"
                "[Registry]\n"
                "key = HKEY_NOWHERE\\X\n"
                "data = \"@0@\"\n");
  const auto text = Check({"reg.ini"});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_NE(text.out.find("Registry entries, in order (2)\n"
                          "  1. key \"HKEY_LOCAL_MACHINE\\\\Software\\\\\\\\Quill\\\\\"\n"
                          "      components \"HKEY_LOCAL_MACHINE\", \"Software\", \"Quill\"\n"
                          "      root HKEY_LOCAL_MACHINE (0x80000002)\n"
                          "      value name \"Count\"\n"
                          "      data \"#42\"  value type 4 (32-bit number)  option \"0\"\n"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("      root none (unknown root name \"HKEY_NOWHERE\")\n"), std::string::npos) << text.out;

  const auto json = Check({"--json", "reg.ini"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  const auto registry = nlohmann::json::parse(json.out)["registry"];
  ASSERT_EQ(registry.size(), 2u);
  EXPECT_EQ(registry[0]["components"], nlohmann::json({"HKEY_LOCAL_MACHINE", "Software", "Quill"}));
  EXPECT_EQ(registry[0]["rootKey"], 0x80000002u);
  EXPECT_EQ(registry[0]["valueType"], 4);
  EXPECT_EQ(registry[1]["rootKey"], 0);
  EXPECT_EQ(registry[1]["valueName"], "");
  EXPECT_EQ(registry[1]["data"], "@0@");
  EXPECT_EQ(registry[1]["valueType"], 1);
  EXPECT_EQ(registry[1]["option"], "-99");
}

TEST_F(QmtoolProfile, AnsiTextsBecomeUtf8InJson) {
  WriteFileText(dir_ / "ansi.ini", "[interface]\nDoneTitle = \"Gr\xfc\xdf\x65 \x93ok\x94\"\n");
  const auto result = Check({"--json", "ansi.ini"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(nlohmann::json::parse(result.out)["settings"]["DoneTitle"], "Gr\u00fc\u00dfe \u201cok\u201d");
}

}  // namespace
