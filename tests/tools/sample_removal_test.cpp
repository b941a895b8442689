// The sample product installed and removed again on each platform kind: after
// the removal the machine is as it was before the install (files, directories,
// registry, program items), since the sample keeps nothing on purpose.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/common/temp_dir.h"
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
  SampleRemovalTest() {
    env_ = {"QMSETUP_SYSTEM=" + Machine().string(), "QMSETUP_QMTOOL=" + (kBin / "qmtool").string(),
            "QMSETUP_REMOVAL_WAIT_MS=0", "QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + Runtime().string()};
    fs::create_directories(Runtime());
    fs::permissions(Runtime(), fs::perms::owner_all);
  }
  ~SampleRemovalTest() override {
    // The removal on Windows NT 3.51 started the machine's Program Manager.
    qmtest::RunProgram("/usr/bin/pkill", {"-TERM", "-f", "progman serve --root " + Machine().string()});
  }

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

TEST_P(SampleRemovalTest, LeavesTheMachineAsItWasBeforeTheInstall) {
  const fs::path media = temp_.Path() / "media";
  ASSERT_EQ(Tool({"system", "init", "--root", Machine().string(), "--platform", GetParam(), "--drive",
                  "D=cdrom," + media.string()})
                .exitCode,
            0);
  const qmtest::ToolResult built = Tool({"media", "build", (kSample / "manifest.ini").string(), media.string()});
  ASSERT_EQ(built.exitCode, 0) << built.err;
  fs::copy_file(kBin / "qmsetup", Setup(), fs::copy_options::overwrite_existing);

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

}  // namespace
