// qmtool log show as a user runs it: the removal preview as text and JSON, its
// exit status, and that it leaves the machine exactly as it found it.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/common/temp_machine.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;
using qmtest::RunTool;
using qmtest::WriteFileText;

constexpr const char* kLogText =
    "[PMGroup]\r\npmgroup=Quillmark 2.0\r\n"
    "[Main]\r\nQMW.EXE=0|1|0\r\nNEWER.DLL=0|0|0\r\nFONT.TTF=1000|1|0\r\nLOST.DLL=55|1|0\r\n"
    "[destinations]\r\n0=QMW2||C:\\QMW2\r\n1=WORK|0|C:\\QMW2\\WORK\r\n1000=FONTS||C:\\FONTS\r\n"
    "[groups]\r\nMain=Main files|d|1|1|1\r\n"
    "[targets]\r\nQMW.EXE=0|-1|0|Quillmark 2.0||QMW.EXE|C:\\QMW2\\QMW.EXE\r\n"
    "[Registry]\r\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane=x\r\nHKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quillmark=x\r\n";

constexpr const char* kProfileText =
    "[Registry]\nkey = HKEY_CURRENT_USER\\Software\\Corvane\\Quillmark\noption = -1\n"
    "[Execute]\nCommand = @0@\\CLEAN.EXE\narg = CLEAN.EXE\narg = @1@\noption = -1\n";

class QmtoolLog : public ::testing::Test {
 protected:
  QmtoolLog() {
    WriteFileText(LogHost(), kLogText);
    WriteFileText(machine_.DriveC() / "QMW2/QMW.EXE", "program");
    WriteFileText(machine_.DriveC() / "QMW2/NEWER.DLL", "newer than ours");
    WriteFileText(machine_.DriveC() / "QMW2/cv_setup.ini", kProfileText);
  }

  fs::path LogHost() const { return machine_.DriveC() / "WINDOWS/Qmw.log"; }
  std::vector<std::string> Env() const { return {"QMSETUP_SYSTEM=" + machine_.Root().string()}; }

  qmtest::TempMachineRoot machine_;
};

TEST_F(QmtoolLog, JsonHoldsThePlanUnderStableNames) {
  const auto result = RunTool("qmtool", {"log", "show", "--json"}, Env());
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const auto plan = nlohmann::json::parse(result.out);

  std::vector<std::string> fields;
  for (const auto& [name, value] : plan.items()) fields.push_back(name);
  std::sort(fields.begin(), fields.end());
  EXPECT_EQ(fields, (std::vector<std::string>{"alsoDeleted", "commands", "destinations", "directories", "groups",
                                              "log", "problems", "profile", "programFolder", "programItems",
                                              "registryKeys"}));
  EXPECT_EQ(plan["log"], "C:\\WINDOWS\\Qmw.log");
  EXPECT_EQ(plan["programFolder"], "Quillmark 2.0");

  const auto& files = plan["groups"][0]["files"];
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[0], nlohmann::json::parse(R"({"name":"QMW.EXE","value":"0|1|0","destination":0,
      "path":"C:\\QMW2\\QMW.EXE","action":"delete","reason":"placed","present":true,
      "programItem":"Quillmark 2.0"})"));
  const struct {
    const char* action;
    const char* reason;
  } kept[] = {{"keep", "kept"}, {"keep", "shared place"}, {"keep", "unknown place"}};
  for (std::size_t i = 0; i < std::size(kept); ++i) {
    EXPECT_EQ(files[i + 1]["action"], kept[i].action);
    EXPECT_EQ(files[i + 1]["reason"], kept[i].reason);
  }
  EXPECT_TRUE(files[3]["path"].is_null());

  EXPECT_EQ(plan["alsoDeleted"][0]["path"], "C:\\QMW2\\WORK\\qmw2.ini");
  EXPECT_EQ(plan["alsoDeleted"][1]["path"], "C:\\WINDOWS\\Qmw.log");
  EXPECT_EQ(plan["programItems"], nlohmann::json::parse(R"([{"name":"Quillmark 2.0","folder":"Quillmark 2.0",
      "file":"C:\\QMW2\\QMW.EXE"}])"));
  EXPECT_EQ(plan["registryKeys"], nlohmann::json::parse(R"({"logged":["HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quillmark",
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane"],"marked":[{"key":"HKEY_CURRENT_USER\\Software\\Corvane\\Quillmark",
      "deletes":"Quillmark","deletable":true}]})"));
  EXPECT_EQ(plan["commands"], nlohmann::json::parse(R"([{"command":"C:\\QMW2\\CLEAN.EXE",
      "arguments":["CLEAN.EXE","C:\\QMW2\\WORK"],"messages":[]}])"));
  EXPECT_EQ(plan["directories"], nlohmann::json::parse(R"([
      {"id":1,"path":"C:\\QMW2\\WORK","exists":false,"emptyAfter":false,"remaining":[]},
      {"id":0,"path":"C:\\QMW2","exists":true,"emptyAfter":false,"remaining":["NEWER.DLL","cv_setup.ini"]}])"));
}

TEST_F(QmtoolLog, TextSaysWhatHappensToEachFileAndKey) {
  const auto result = RunTool("qmtool", {"log", "show"}, Env());
  ASSERT_EQ(result.exitCode, 0) << result.err;
  for (const char* line : {
           "    delete  C:\\QMW2\\QMW.EXE  [placed]\n",
           "    keep    C:\\QMW2\\NEWER.DLL  [kept]\n",
           "    keep    C:\\FONTS\\FONT.TTF  [shared place] (not on disk)\n",
           "    keep    LOST.DLL (destination 55 not in the log)  [unknown place]\n",
           "  \"Quillmark 2.0\"  for C:\\QMW2\\QMW.EXE\n",
           "  logged  HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quillmark\n"
           "  logged  HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\n"
           "  marked  HKEY_CURRENT_USER\\Software\\Corvane\\Quillmark  (deletes \"Quillmark\")\n",
           "    argv: \"CLEAN.EXE\" \"C:\\QMW2\\WORK\"\n",
       }) {
    EXPECT_NE(result.out.find(line), std::string::npos) << line << "\nin:\n" << result.out;
  }
}

// Every file under the machine's root with its bytes and write time.
std::map<std::string, std::pair<std::string, fs::file_time_type>> Snapshot(const fs::path& root) {
  std::map<std::string, std::pair<std::string, fs::file_time_type>> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string relative = fs::relative(entry.path(), root).string();
    files[relative] = {entry.is_regular_file() ? qmtest::ReadFileText(entry.path()) : std::string("<dir>"),
                       entry.last_write_time()};
  }
  return files;
}

TEST_F(QmtoolLog, ShowChangesNothingOnTheMachine) {
  const auto before = Snapshot(machine_.Root());
  const auto logTime = fs::last_write_time(LogHost());
  for (const std::vector<std::string>& args : {std::vector<std::string>{"log", "show"},
                                               std::vector<std::string>{"log", "show", "--json"}}) {
    const auto result = RunTool("qmtool", args, Env());
    EXPECT_EQ(result.exitCode, 0) << result.err;
  }
  EXPECT_EQ(qmtest::ReadFileText(LogHost()), kLogText);
  EXPECT_EQ(fs::last_write_time(LogHost()), logTime);
  EXPECT_TRUE(Snapshot(machine_.Root()) == before);
}

TEST_F(QmtoolLog, ExitStatusSaysWhetherTheLogCouldBeRead) {
  WriteFileText(machine_.DriveC() / "QMW2/KILLED.LOG", "[Main]\r\nQMW.EXE=0|1|0\r\n");
  const fs::path noMachine = machine_.Root() / "nowhere";
  const struct {
    std::vector<std::string> args;
    int exitCode;
    const char* said;  // on stdout for 0, else on stderr
  } cases[] = {
      {{"log", "show", "C:\\WINDOWS\\NOLOG.LOG"}, 1, "no install log at C:\\WINDOWS\\NOLOG.LOG"},
      {{"log", "show", "--root", noMachine.string()}, 1, "no machine in"},
      {{"log", "show", "C:\\QMW2\\KILLED.LOG"}, 0, "no \"destinations\" section"},
      {{"log", "show", LogHost().string(), "--profile", "C:\\NONE.INI"}, 0, "C:\\NONE.INI does not exist"},
      {{"log", "show", "--bogus"}, 2, "unknown option --bogus"},
  };
  for (const auto& c : cases) {
    const auto result = RunTool("qmtool", c.args, Env());
    SCOPED_TRACE(c.args.back());
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    const std::string& text = c.exitCode == 0 ? result.out : result.err;
    EXPECT_NE(text.find(c.said), std::string::npos) << text;
  }
  // Asked about a machine that is not there, it does not make one.
  EXPECT_FALSE(fs::exists(noMachine));
}

}  // namespace
