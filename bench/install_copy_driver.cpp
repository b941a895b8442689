// The copy engine alone, as the install benchmark times it: loads the install
// tables file of a medium's first disk as the setup's splash page does, selects
// the Typical groups, puts the install directory where the tables say, and runs
// CFileCopy::CopyAllSources with nobody to see it. No pages, no Qt: what is left
// is the copy itself.
//
//   install_copy_driver MACHINE_ROOT DISK1_DIR TABLES_NAME
//
// Exit status 0 when every source was copied; 1 when a source failed, a
// diskette was asked for (the benchmark's media are one disk) or the tables
// could not be read.

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "install/copy/copy_user_interface.h"
#include "install/copy/file_copy.h"
#include "install/errors/error_report.h"
#include "install/tables/destination_table.h"
#include "install/tables/diskette_table.h"
#include "install/tables/group_table.h"
#include "install/tables/install_tables.h"
#include "install/tables/source_file_list.h"
#include "platform/fs/path_map.h"
#include "platform/machine/machine.h"
#include "platform/machine/system_info.h"
#include "system/target_table.h"

namespace {

constexpr const char* kInstallLogName = "Qmw.log";

// Answers nothing and shows nothing; what would have needed a person fails the run.
class SilentCopyUi : public CopyUserInterface {
 public:
  bool AskForDiskette(const DiskettePrompt& prompt) override {
    std::fprintf(stderr, "install_copy_driver: asked for a diskette: %s\n", prompt.text.c_str());
    failed_ = true;
    return false;
  }
  bool ReportSourceError(const ErrorReport& report) override {
    std::fprintf(stderr, "install_copy_driver: %s", ErrorReportText(report).c_str());
    failed_ = true;
    return false;
  }
  void ShowSource(const std::string&) override {}
  void ShowProgress(uint64_t, const std::string&) override {}
  bool PollCancel() override { return false; }

  bool Failed() const { return failed_; }

 private:
  bool failed_ = false;
};

int Run(const std::filesystem::path& machineRoot, const std::filesystem::path& disk1, const std::string& tablesName) {
  platform::UseMachine(machineRoot);
  const std::string sourceDirectory = platform::MapToWindows(disk1);

  CDestinationTable destinations;
  CGroupTable groups;
  CTargetTable targets;
  CSourceFileList sources;
  CDisketteTable diskettes;
  destinations.SetPresets(MachinePresetDirectories(sourceDirectory));
  LoadInstallTables(JoinDirectory(sourceDirectory, tablesName), {destinations, groups, targets, sources, diskettes});
  groups.SelectSetupType(SetupType::Typical);
  // The destination page's default: the install directory the tables name.
  destinations.SetPath(CDestinationTable::kInstallDirectory, destinations.PathOf(CDestinationTable::kInstallDirectory));
  destinations.Resolve();

  SilentCopyUi ui;
  CopySettings settings;
  settings.destinations = &destinations;
  settings.diskettes = &diskettes;
  settings.sourceDirectory = sourceDirectory;
  settings.logFile = JoinDirectory(platform::GetWindowsDirectory(), kInstallLogName);
  CFileCopy copy(std::move(settings), ui);
  const CopyOutcome outcome = copy.CopyAllSources(sources);
  if (outcome != CopyOutcome::Completed || ui.Failed()) return 1;
  std::printf("%llu\n", static_cast<unsigned long long>(copy.Completed()));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: install_copy_driver MACHINE_ROOT DISK1_DIR TABLES_NAME\n");
    return 2;
  }
  try {
    return Run(argv[1], argv[2], argv[3]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "install_copy_driver: %s\n", error.what());
    return 1;
  }
}
