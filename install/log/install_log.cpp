#include "install/log/install_log.h"

#include <string>

#include "platform/profile/private_profile.h"

namespace {

bool WriteLine(const char* section, const std::string& key, const std::string& value, std::string_view file) {
  return platform::WritePrivateProfileString(section, key.c_str(), value.c_str(), file);
}

}  // namespace

bool LogInstalledFile(const InstalledFileRecord& file, std::string_view logFile) {
  const std::string key(FileNameOfPath(file.destinationPath));
  // A line without a section or key name could not be read back by the removal.
  if (file.group.empty() || key.empty()) return false;
  return WriteLine(file.group.c_str(), key,
                   FormatInstalledFileLine(file.destinationId, file.installed, file.replaced), logFile);
}

bool IsLoggedFile(const std::string& group, std::string_view path, std::string_view logFile) {
  const std::string key(FileNameOfPath(path));
  if (group.empty() || key.empty()) return false;
  // A default no value can be: the answer is whether it came back.
  constexpr const char* kAbsent = "\x01";
  char value[4];
  platform::GetPrivateProfileString(group.c_str(), key.c_str(), kAbsent, value, sizeof value, logFile);
  return std::string_view(value) != kAbsent;
}

bool ForgetInstalledFile(const InstalledFileRecord& file, std::string_view logFile) {
  const std::string key(FileNameOfPath(file.destinationPath));
  if (file.group.empty() || key.empty()) return true;
  return platform::WritePrivateProfileString(file.group.c_str(), key.c_str(), nullptr, logFile);
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
