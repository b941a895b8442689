#include "install/copy/replace_rule.h"

#include "install/log/log_lines.h"
#include "install/tables/destination_table.h"
#include "platform/fs/file_ops.h"
#include "support/file_version.h"

std::optional<std::string> FindExistingFile(int destinationId, std::string_view destinationPath,
                                            const CDestinationTable& destinations) {
  if (destinationId == CDestinationTable::kWindowsDirectory || destinationId == CDestinationTable::kSystemDirectory) {
    const std::string_view name = FileNameOfPath(destinationPath);
    for (const int id : {CDestinationTable::kWindowsDirectory, CDestinationTable::kSystemDirectory}) {
      const std::string directory = destinations.PathOf(id);
      if (directory.empty()) continue;
      std::string candidate = JoinDirectory(directory, name);
      if (platform::FileExists(candidate)) return candidate;
    }
    return std::nullopt;
  }
  if (platform::FileExists(destinationPath)) return std::string(destinationPath);
  return std::nullopt;
}

bool ShouldReplace(std::string_view newFile, std::string_view existingFile) {
  CFileVersion newVersion;
  CFileVersion existingVersion;
  const bool newHasVersion = newVersion.LoadVersionInfo(newFile) && newVersion.GetFileVersion().has_value();
  const bool existingHasVersion =
      existingVersion.LoadVersionInfo(existingFile) && existingVersion.GetFileVersion().has_value();
  if (existingHasVersion && !newHasVersion) return false;
  if (newHasVersion && !existingHasVersion) return true;
  if (newHasVersion) return IsVersionNewer(*newVersion.GetFileVersion(), *existingVersion.GetFileVersion());

  platform::FileStatus newStatus;
  platform::FileStatus existingStatus;
  // A time that cannot be read gives no reason to overwrite what is there.
  if (!platform::GetFileStatus(newFile, newStatus) || !platform::GetFileStatus(existingFile, existingStatus)) {
    return false;
  }
  return existingStatus.lastWriteTime < newStatus.lastWriteTime;
}
