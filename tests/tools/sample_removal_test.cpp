// The sample product installed and removed again on each platform kind: after
// the removal the machine is as it was before the install (files, directories,
// registry, program items), since the sample keeps nothing on purpose.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/common/temp_dir.h"
#include "tests/tools/machine_runs.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSample = QM_SAMPLE_DIR;
const fs::path kBin = QM_BIN_DIR;

// Every file and directory of drive C: with its size (directories -1).
std::map<std::string, std::intmax_t> DriveContents(const fs::path& drive) {
  std::map<std::string, std::intmax_t> contents;
  for (const auto& entry : fs::recursive_directory_iterator(drive)) {
    const std::string name = fs::relative(entry.path(), drive).string();
    contents[name] = entry.is_directory() ? -1 : static_cast<std::intmax_t>(entry.file_size());
  }
  return contents;
}

class SampleRemovalTest : public ::testing::TestWithParam<const char*> {
 protected:
  SampleRemovalTest() : env_(qmtest::MachineRunEnvironment(Machine(), Runtime())) {}
  ~SampleRemovalTest() override { qmtest::StopProgramManager(Machine()); }

  // A fresh machine of the platform kind with the sample's media as its drive D.
  void MakeMediaAndMachine(const char* platform);

  fs::path Machine() const { return temp_.Path() / "machine"; }
  fs::path Runtime() const { return temp_.Path() / "runtime"; }
  fs::path Setup() const { return temp_.Path() / "media" / "DISK01" / "SETUP.EXE"; }

  qmtest::ToolResult Tool(const std::vector<std::string>& args) const { return qmtest::RunTool("qmtool", args, env_); }
  qmtest::ToolResult RunSetup(const std::vector<std::string>& args) const {
    return qmtest::RunProgram(Setup().string(), args, env_);
  }

  qmtest::TempDir temp_{"qm-removal"};
  std::vector<std::string> env_;
};

// A Windows path on drive C as a name of DriveContents, in capitals: the
// preview spells names as the log does, the disk as the install made them.
std::string DriveName(std::string path) {
  if (path.rfind("C:\\", 0) != 0) return "not on C: " + path;
  path = path.substr(3);
  while (!path.empty() && path.back() == '\\') path.pop_back();
  std::replace(path.begin(), path.end(), '\\', '/');
  std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return std::toupper(c); });
  return path;
}

std::set<std::string> CapitalNames(const std::map<std::string, std::intmax_t>& contents) {
  std::set<std::string> names;
  for (const auto& [name, size] : contents) names.insert(DriveName("C:\\" + name));
  return names;
}

void SampleRemovalTest::MakeMediaAndMachine(const char* platform) {
  const fs::path media = temp_.Path() / "media";
  ASSERT_EQ(Tool({"system", "init", "--root", Machine().string(), "--platform", platform, "--drive",
                  "D=cdrom," + media.string()})
                .exitCode,
            0);
  const qmtest::ToolResult built = Tool({"media", "build", (kSample / "manifest.ini").string(), media.string()});
  ASSERT_EQ(built.exitCode, 0) << built.err;
  fs::copy_file(kBin / "qmsetup", Setup(), fs::copy_options::overwrite_existing);
}

TEST_P(SampleRemovalTest, LeavesTheMachineAsItWasBeforeTheInstall) {
  MakeMediaAndMachine(GetParam());
  const fs::path drive = Machine() / "drive_c";
  const auto filesBefore = DriveContents(drive);
  const std::string registryBefore = Tool({"reg", "export"}).out;

  const qmtest::ToolResult install = RunSetup({"/B"});
  ASSERT_EQ(install.exitCode, 0) << install.err;
  ASSERT_TRUE(fs::exists(drive / "QMW2" / "QMW.EXE"));
  ASSERT_NE(Tool({"reg", "export"}).out, registryBefore);

  const qmtest::ToolResult removal = RunSetup({"/U", "/B", "/D:C:\\QMW2\\"});
  EXPECT_EQ(removal.exitCode, 0) << removal.err;

  const auto filesAfter = DriveContents(drive);
  for (const auto& [name, size] : filesAfter) {
    EXPECT_TRUE(filesBefore.contains(name)) << "left behind: " << name;
  }
  for (const auto& [name, size] : filesBefore) {
    EXPECT_TRUE(filesAfter.contains(name)) << "lost: " << name;
  }
  EXPECT_EQ(Tool({"reg", "export"}).out, registryBefore);
  if (std::string(GetParam()) == "nt351") {
    const qmtest::ToolResult groups = Tool({"progman", "list"});
    EXPECT_EQ(groups.out.find("QM2"), std::string::npos) << groups.out;
  }
}

INSTANTIATE_TEST_SUITE_P(Platforms, SampleRemovalTest, ::testing::Values("win95", "nt351", "nt4"));

using SamplePreviewTest = SampleRemovalTest;

// "qmtool log show" on the sample's log names exactly what the removal then
// takes off the disk: the files it deletes, the directories that end up empty,
// and the program items with their folder.
TEST_F(SamplePreviewTest, ListsExactlyWhatTheRemovalRemoves) {
  MakeMediaAndMachine("win95");
  ASSERT_EQ(RunSetup({"/B"}).exitCode, 0);
  const qmtest::ToolResult shown = Tool({"log", "show", "--json"});
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  const nlohmann::json plan = nlohmann::json::parse(shown.out);

  std::set<std::string> expected;
  for (const auto& group : plan["groups"]) {
    for (const auto& file : group["files"]) {
      if (file["action"] == "delete" && file["present"] == true) expected.insert(DriveName(file["path"]));
    }
  }
  for (const auto& file : plan["alsoDeleted"]) {
    if (file["present"] == true) expected.insert(DriveName(file["path"]));
  }
  for (const auto& directory : plan["directories"]) {
    if (directory["exists"] == true && directory["emptyAfter"] == true) expected.insert(DriveName(directory["path"]));
  }
  const std::string programs = "C:\\WINDOWS\\Start Menu\\Programs\\" + plan["programFolder"].get<std::string>();
  for (const auto& item : plan["programItems"]) {
    expected.insert(DriveName(programs + "\\" + item["name"].get<std::string>() + ".lnk"));
  }
  if (!plan["programItems"].empty()) expected.insert(DriveName(programs));
  ASSERT_TRUE(expected.contains("QMW2/QMW.EXE") && expected.contains("QMW2")) << shown.out;

  const fs::path drive = Machine() / "drive_c";
  const std::set<std::string> before = CapitalNames(DriveContents(drive));
  ASSERT_EQ(RunSetup({"/U", "/B", "/D:C:\\QMW2\\"}).exitCode, 0);
  const std::set<std::string> after = CapitalNames(DriveContents(drive));
  std::set<std::string> removed;
  std::set_difference(before.begin(), before.end(), after.begin(), after.end(),
                      std::inserter(removed, removed.begin()));
  EXPECT_EQ(removed, expected);
}

}  // namespace
