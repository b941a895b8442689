#include "install/install_log.h"

#include <string>

#include "platform/profile/private_profile.h"

namespace {

std::string Flag(bool on) { return on ? "1" : "0"; }

bool WriteLine(const char* section, const std::string& key, const std::string& value, std::string_view file) {
  return platform::WritePrivateProfileString(section, key.c_str(), value.c_str(), file);
}

}  // namespace

std::string FormatInstalledFileLine(int destinationId, bool installed, bool replaced) {
  return std::to_string(destinationId) + "|" + Flag(installed) + "|" + Flag(replaced);
}

std::string FormatDestinationLine(std::string_view relativeName, int parentId, std::string_view path) {
  std::string line(relativeName);
  line += "|" + std::to_string(parentId) + "|";
  line += path;
  return line;
}

std::string FormatGroupLine(std::string_view title, std::string_view description, int minimumFlag,
                            int typicalFlag, int customFlag) {
  std::string line(title);
  line += "|";
  line += description;
  line += "|" + std::to_string(minimumFlag) + "|" + std::to_string(typicalFlag) + "|" +
          std::to_string(customFlag);
  return line;
}

std::string_view FileNameOfPath(std::string_view path) {
  const std::size_t last = path.find_last_of("\\/:");
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

bool LogInstalledFile(const InstalledFileRecord& file, std::string_view logFile) {
  const std::string key(FileNameOfPath(file.destinationPath));
  // A line without a section or key name could not be read back by the removal.
  if (file.group.empty() || key.empty()) return false;
  return WriteLine(file.group.c_str(), key,
                   FormatInstalledFileLine(file.destinationId, file.installed, file.replaced), logFile);
}

bool WriteDestinationLines(std::span<const DestinationRecord> destinations, std::string_view logFile) {
  bool allWritten = true;
  for (const DestinationRecord& d : destinations) {
    if (d.id < 0) continue;
    allWritten &= WriteLine(install_log::kDestinationsSection, std::to_string(d.id),
                            FormatDestinationLine(d.relativeName, d.parentId, d.path), logFile);
  }
  return allWritten;
}

bool WriteGroupLines(std::span<const GroupRecord> groups, std::string_view logFile) {
  bool allWritten = true;
  for (const GroupRecord& g : groups) {
    allWritten &= WriteLine(install_log::kGroupsSection, g.name,
                            FormatGroupLine(g.title, g.description, g.minimumFlag, g.typicalFlag, g.customFlag),
                            logFile);
  }
  return allWritten;
}
