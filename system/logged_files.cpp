#include "system/logged_files.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "install/log/ini_fields.h"
#include "install/log/install_log.h"
#include "install/log/ini_section_reader.h"
#include "install/tables/destination_table.h"
#include "platform/machine/host_paths.h"
#include "platform/profile/private_profile.h"
#include "system/target_table.h"

namespace {

// What an install writes before its first file.
constexpr const char* kTableSections[] = {install_log::kDestinationsSection, install_log::kGroupsSection,
                                          install_log::kTargetsSection, install_log::kProgramFolderSection};

}  // namespace

std::vector<std::string> SectionNames(const std::string& file) {
  std::vector<char> buffer(1024);
  std::size_t length = 0;
  for (;;) {
    length = platform::GetPrivateProfileString(nullptr, nullptr, "", buffer.data(), buffer.size(), file);
    if (length + 2 < buffer.size()) break;
    buffer.resize(buffer.size() * 2);
  }
  std::vector<std::string> names;
  for (std::size_t at = 0; at < length && buffer[at] != '\0';) {
    names.emplace_back(buffer.data() + at);
    at += names.back().size() + 1;
  }
  return names;
}

bool LogRecordsInstalledWork(const std::string& logFile) {
  const auto isTable = [](const std::string& section) {
    return std::any_of(std::begin(kTableSections), std::end(kTableSections),
                       [&](const char* table) { return platform::EqualsIgnoreAsciiCase(section, table); });
  };
  const std::vector<std::string> sections = SectionNames(logFile);
  return !std::all_of(sections.begin(), sections.end(), isTable);
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
