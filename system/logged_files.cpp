#include "system/logged_files.h"

#include "install/log/ini_fields.h"
#include "install/log/ini_section_reader.h"
#include "install/tables/destination_table.h"
#include "platform/machine/host_paths.h"
#include "system/target_table.h"

std::vector<LoggedFile> ReadLoggedFiles(const std::string& group, const std::string& logFile) {
  std::vector<LoggedFile> files;
  CIniSectionReader reader(group, logFile);
  CIniItem item;
  for (bool more = reader.First(item); more; more = reader.Next(item)) {
    item.Read();
    LoggedFile file;
    file.group = group;
    file.name = item.Key();
    file.value = item.Value();
    file.destinationId = GetIntField(file.value, 0).value_or(0);
    file.installed = GetIntField(file.value, 1).value_or(0) != 0;
    file.replaced = GetIntField(file.value, 2).value_or(0) != 0;
    files.push_back(std::move(file));
  }
  return files;
}

std::string LoggedFilePath(const LoggedFile& file, const CDestinationTable& destinations) {
  const std::string directory = destinations.PathOf(file.destinationId);
  if (directory.empty()) return {};
  return JoinDirectory(directory, file.name);
}

const CTarget* ProgramItemOf(const LoggedFile& file, const std::string& path, const CTargetTable& targets) {
  const CTarget* target = targets.Find(file.name);
  if (target == nullptr || path.empty() || !platform::EqualsIgnoreAsciiCase(target->commandPath.Text(), path)) {
    return nullptr;
  }
  return target;
}

LoggedFileFate FateOf(const LoggedFile& file, const CDestinationTable& destinations) {
  if (destinations.PathOf(file.destinationId).empty()) return LoggedFileFate::KeepUnknownPlace;
  if (file.destinationId >= kFirstSharedDestination) return LoggedFileFate::KeepSharedPlace;
  if (!file.installed && !file.replaced) return LoggedFileFate::KeepNotPlaced;
  return LoggedFileFate::Delete;
}

const char* FateReason(LoggedFileFate fate) {
  switch (fate) {
    case LoggedFileFate::Delete:
      return "placed";
    case LoggedFileFate::KeepNotPlaced:
      return "kept";
    case LoggedFileFate::KeepSharedPlace:
      return "shared place";
    case LoggedFileFate::KeepUnknownPlace:
      return "unknown place";
  }
  return "";
}
