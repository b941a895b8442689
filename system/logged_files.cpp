#include "system/logged_files.h"

#include <string_view>
#include <vector>

#include "install/log/ini_fields.h"
#include "install/log/install_log.h"
#include "install/log/ini_section_reader.h"
#include "install/tables/destination_table.h"
#include "platform/machine/host_paths.h"
#include "platform/profile/ini_document.h"
#include "platform/profile/private_profile.h"
#include "system/target_table.h"

bool LogRecordsInstalledWork(const std::string& logFile) {
  std::vector<char> names(4096);
  for (;;) {
    const std::size_t length =
        platform::GetPrivateProfileString(nullptr, nullptr, "", names.data(), names.size(), logFile);
    if (length + 2 < names.size()) break;
    names.resize(names.size() * 2);
  }
  for (const char* name = names.data(); *name != '\0'; name += std::string_view(name).size() + 1) {
    const std::string_view section(name);
    bool table = false;
    for (const char* known : {install_log::kDestinationsSection, install_log::kGroupsSection,
                              install_log::kTargetsSection, install_log::kProgramFolderSection}) {
      table = table || platform::EqualsIgnoreCase(section, known);
    }
    if (!table) return true;
  }
  return false;
}

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
