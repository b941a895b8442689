// The whole removal as a user starts it: the sample product installed from
// its media by the real setup, then removed by running the removal command the
// install registered.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/fs/path_map.h"
#include "platform/process/process.h"
#include "tests/common/temp_machine.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSample = QM_SAMPLE_DIR;
const fs::path kBin = QM_BIN_DIR;
constexpr const char* kUninstallKey = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\UNINSTALL\\Qmw2DKey";

// A REGEDIT4 value line's text, "\\" unescaped; empty when the export has none.
std::string ExportedValue(const std::string& exported, const std::string& name) {
  const std::string prefix = "\"" + name + "\"=\"";
  const auto at = exported.find(prefix);
  if (at == std::string::npos) return {};
  std::string value;
  for (auto i = at + prefix.size(); i < exported.size() && exported[i] != '"'; ++i) {
    if (exported[i] == '\\') ++i;
    value += exported[i];
  }
  return value;
}

TEST(UnsetupRemoval, RegisteredRemovalCommandTakesTheInstallAway) {
  qmtest::TempMachineRoot machine;
  const std::string system = "QMSETUP_SYSTEM=" + machine.Root().string();
  const fs::path media = machine.Root() / "media";
  const auto built = qmtest::RunTool("qmtool", {"media", "build", (kSample / "manifest.ini").string(), media.string()},
                                     {system});
  ASSERT_EQ(built.exitCode, 0) << built.err;
  const fs::path setup = media / "DISK01" / "SETUP.EXE";
  fs::copy_file(kBin / "qmsetup", setup, fs::copy_options::overwrite_existing);
  fs::permissions(setup, fs::perms::owner_all);
  const auto installed = qmtest::RunProgram(setup.string(), {"/B"}, {system});
  ASSERT_EQ(installed.exitCode, 0) << installed.err;
  ASSERT_TRUE(fs::exists(machine.DriveC() / "QMW2" / "QMW.EXE"));

  const auto exported = qmtest::RunTool("qmtool", {"reg", "export", kUninstallKey}, {system});
  const std::string command = ExportedValue(exported.out, "UninstallString");
  ASSERT_EQ(command, "C:\\QMW2\\Unsetup.exe") << exported.out << exported.err;
  fs::path host;
  ASSERT_TRUE(platform::MapToHost(command, host));

  // Installed files carry no execute bit: the machine runs it as any program.
  setenv("QMSETUP_REMOVAL_WAIT_MS", "0", 1);
  const auto status = platform::RunProgramAndWait(command, {host.string(), "/B"});
  unsetenv("QMSETUP_REMOVAL_WAIT_MS");
  EXPECT_EQ(status, 0);
  EXPECT_FALSE(fs::exists(machine.DriveC() / "QMW2"));
  EXPECT_TRUE(fs::is_empty(machine.DriveC() / "WINDOWS" / "TEMP"));
  EXPECT_FALSE(fs::exists(machine.DriveC() / "WINDOWS" / "Qmw.log"));
  const auto after = qmtest::RunTool("qmtool", {"reg", "export", kUninstallKey}, {system});
  EXPECT_EQ(ExportedValue(after.out, "UninstallString"), "");
}

}  // namespace
