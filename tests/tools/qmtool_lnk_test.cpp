#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/shelllink/shell_link.h"
#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;
using qmtest::RunTool;

platform::ShellLink ProgramItem() {
  platform::ShellLink link;
  link.name = "Quillmark 2.0 \xE9";
  link.target = "C:\\QMW2\\QMW.EXE";
  link.arguments = "/U";
  link.workingDirectory = "C:\\QMW2\\";
  link.iconLocation = "C:\\QMW2\\QMW.ICO";
  link.iconIndex = 1;
  link.hotKey = platform::kHotKeyControl | platform::kHotKeyAlt | 'Q';
  link.showCommand = platform::kShowMinNoActive;
  return link;
}

TEST(QmtoolLnk, ShowsAHostFileAsTextAndAMachineFileAsJson) {
  qmtest::TempMachineRoot machine;
  fs::create_directories(machine.DriveC() / "Programs");
  platform::WriteShellLink(ProgramItem(), machine.DriveC() / "Programs" / "Item.lnk");
  const std::string env = "QMSETUP_SYSTEM=" + machine.Root().string();

  const auto text = RunTool("qmtool", {"lnk", "show", (machine.DriveC() / "Programs" / "Item.lnk").string()}, {env});
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(text.out,
            "Name: Quillmark 2.0 \u00E9\n"
            "Target: C:\\QMW2\\QMW.EXE\n"
            "Arguments: /U\n"
            "Working directory: C:\\QMW2\\\n"
            "Icon location: C:\\QMW2\\QMW.ICO\n"
            "Icon index: 1\n"
            "Hot key: 0x0651 (Ctrl+Alt+Q)\n"
            "Show command: 7 (minimized)\n");

  const auto json = RunTool("qmtool", {"lnk", "show", "c:\\programs\\item.lnk", "--json"}, {env});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  EXPECT_EQ(nlohmann::json::parse(json.out), nlohmann::json::parse(R"({
      "name": "Quillmark 2.0 \u00e9", "target": "C:\\QMW2\\QMW.EXE", "arguments": "/U",
      "workingDirectory": "C:\\QMW2\\", "iconLocation": "C:\\QMW2\\QMW.ICO", "iconIndex": 1,
      "hotkey": 1617, "showCommand": 7})"));
}

TEST(QmtoolLnk, BadInputFailsWithAMessage) {
  qmtest::TempDir dir("qmtool-lnk");
  qmtest::WriteFileText(dir.Path() / "text.lnk", "not a link at all, longer than nothing");
  const struct {
    std::vector<std::string> args;
    int exitCode;
    const char* message;
  } cases[] = {
      {{"lnk", "show", (dir.Path() / "text.lnk").string()}, 1, "not a shell link"},
      {{"lnk", "show", (dir.Path() / "absent.lnk").string()}, 1, "absent.lnk"},
      {{"lnk", "show"}, 2, "needs a link file"},
      {{"lnk", "open", "x"}, 2, "unknown action"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back());
    const auto result = RunTool("qmtool", c.args);
    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
  }
}

}  // namespace
