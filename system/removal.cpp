#include "system/removal.h"

#include "install/tables/destination_table.h"
#include "install/tables/group_table.h"
#include "system/destination_macros.h"
#include "platform/fs/file_ops.h"
#include "system/command_list.h"
#include "system/logged_files.h"
#include "system/registry_entry_list.h"
#include "system/removal_plan.h"
#include "system/target_table.h"

namespace {

constexpr int kStepPercent = 20;

void RemoveItemOf(const RemovalWork& work, const LoggedFile& file, const std::string& path) {
  if (const CTarget* target = ProgramItemOf(file, path, work.targets)) RemoveProgramItem(*target, work.place, work.logFile);
}

void RemoveFile(const RemovalWork& work, const LoggedFile& file, RemovalProgress& progress) {
  const std::string path = LoggedFilePath(file, work.destinations);
  if (path.empty()) return;  // the log does not say where it is
  progress.ShowPath(path);
  const std::uint32_t attributes = platform::GetFileAttributes(path);
  if (attributes != platform::kInvalidAttributes && (attributes & platform::kAttrReadOnly) != 0 &&
      (attributes & platform::kAttrDirectory) == 0) {
    platform::SetFileAttributes(path, platform::kAttrNormal);
  }
  RemoveItemOf(work, file, path);
  if (FateOf(file, work.destinations) == LoggedFileFate::Delete) platform::DeleteFile(path);
}

}  // namespace

bool RemoveGroupFiles(RemovalWork& work, const std::string& group, RemovalProgress& progress) {
  for (const LoggedFile& file : ReadLoggedFiles(group, work.logFile)) {
    if (progress.Cancelled()) return false;
    RemoveFile(work, file, progress);
  }
  return !progress.Cancelled();
}

bool RemoveFiles(RemovalWork& work, RemovalProgress& progress) {
  for (const auto& group : work.groups.Groups()) {
    if (!RemoveGroupFiles(work, group->name, progress)) return false;
  }
  return true;
}

void RemoveDestinationDirectories(const CDestinationTable& destinations) {
  const std::size_t rounds = destinations.Size();
  for (std::size_t round = 0; round < rounds; ++round) {
    for (const auto& [id, destination] : destinations.Entries()) {
      if (!RemovalTriesDirectory(id) || destination.path.empty()) continue;
      platform::RemoveDirectory(destination.path);
    }
  }
}

RemovalOutcome RemoveInstallation(RemovalWork& work, RemovalProgress& progress, FocusReturn* window,
                                  UserMessages& messages) {
  int percent = 0;
  const auto step = [&] {
    percent += kStepPercent;
    progress.SetPercent(percent);
  };

  work.registryEntries.UndoLoggedKeys(work.logFile);
  step();
  work.registryEntries.DeleteMarkedKeys();
  step();

  const MacroTable macros = BuildDestinationMacros(work.destinations, work.sourceDirectory);
  work.commands.SubstituteCommands(macros, messages);
  work.commands.EnableCommands(CCommandEntry::kRemovalSelector);
  work.commands.RunCommands(window);
  step();

  if (!RemoveFiles(work, progress)) return RemovalOutcome::Cancelled;
  step();

  platform::DeleteFile(work.logFile);
  // The settings file is where the install wrote it, in the working directory.
  const std::string working = work.destinations.PathOf(removal_plan::kWorkingDirectory);
  if (!working.empty()) platform::DeleteFile(JoinDirectory(working, removal_plan::kSettingsFileName));
  RemoveDestinationDirectories(work.destinations);
  step();
  return RemovalOutcome::Done;
}
