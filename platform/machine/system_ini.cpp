#include "platform/machine/system_ini.h"

#include <algorithm>

#include "platform/machine/windows_dir.h"
#include "platform/profile/ini_document.h"

namespace platform {
namespace {

constexpr std::string_view kSystem = "system";
constexpr std::string_view kDrives = "drives";

// A ';' after a blank starts a comment, so the file can carry notes beside its
// values; a ';' inside a value (a host path "a;b") is kept.
std::string StripComment(std::string_view value) {
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == ';' && (i == 0 || value[i - 1] == ' ' || value[i - 1] == '\t')) {
      return std::string(TrimBlanks(value.substr(0, i)));
    }
  }
  return std::string(TrimBlanks(value));
}

// The 1-based number of the first line of key in section, for error messages.
int LineOf(const std::string& text, std::string_view section, std::string_view key) {
  bool inSection = false;
  int number = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t lf = text.find('\n', pos);
    std::string_view line = std::string_view(text).substr(pos, lf == std::string::npos ? lf : lf - pos);
    pos = lf == std::string::npos ? text.size() : lf + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = TrimBlanks(line);
    if (!line.empty() && line.front() == '[') {
      const std::size_t close = line.find(']');
      inSection = EqualsIgnoreCase(TrimBlanks(line.substr(1, close == std::string_view::npos ? close : close - 1)), section);
    } else if (inSection && !line.empty() && line.front() != ';' &&
               EqualsIgnoreCase(TrimBlanks(line.substr(0, line.find('='))), key)) {
      return number;
    }
  }
  return 0;
}

[[noreturn]] void FailAt(const std::string& text, std::string_view section, std::string_view key,
                         const std::string& problem) {
  throw MachineError("system.ini line " + std::to_string(LineOf(text, section, key)) + " (" +
                     std::string(key) + "=): " + problem);
}

std::string CheckedDir(const std::string& text, std::string_view key, const std::string& value) {
  try {
    return NormalizeWindowsDir(value, std::string(key) + " directory");
  } catch (const MachineError& e) {
    FailAt(text, kSystem, key, e.what());
  }
}

bool HasLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

MachineConfig ParseSystemIni(const std::string& text) {
  const IniDocument doc(text);
  const auto value = [&](std::string_view section, std::string_view key) -> std::optional<std::string> {
    const std::optional<std::string> raw = doc.Get(section, key);
    if (!raw) return std::nullopt;
    return StripComment(*raw);
  };

  PlatformKind kind = PlatformKind::Win95;
  if (const auto platformText = value(kSystem, "platform")) {
    const std::optional<PlatformKind> parsed = ParsePlatformKind(*platformText);
    if (!parsed) FailAt(text, kSystem, "platform", "unknown platform '" + *platformText + "' (win95, nt351 or nt4)");
    kind = *parsed;
  }
  MachineConfig config = MachineConfig::Defaults(kind);
  if (const auto country = value(kSystem, "country"); country && !country->empty()) config.country = *country;
  if (const auto dir = value(kSystem, "windows")) config.windowsDir = CheckedDir(text, "windows", *dir);
  if (const auto dir = value(kSystem, "system")) config.systemDir = CheckedDir(text, "system", *dir);
  if (const auto dir = value(kSystem, "temp")) config.tempDir = CheckedDir(text, "temp", *dir);

  if (doc.HasSection(kDrives)) {
    config.drives.clear();
    for (const std::string& key : doc.KeyNames(kDrives)) {
      if (key.size() != 1) FailAt(text, kDrives, key, "'" + key + "' is not a drive letter (A to Z)");
      try {
        config.drives.push_back(ParseDriveSpec(key[0], *value(kDrives, key)));
      } catch (const MachineError& e) {
        FailAt(text, kDrives, key, e.what());
      }
    }
  }
  return NormalizeConfig(std::move(config));
}

std::string FormatSystemIni(const MachineConfig& config) {
  std::string text =
      "; The emulated machine.\n"
      "; platform: win95 | nt351 | nt4 (the version the system reports)\n"
      "; drives: LETTER=TYPE,HOSTPATH[,free=BYTES][,total=BYTES]\n"
      ";   TYPE removable, fixed, remote, cdrom, ramdisk (or 2 to 6); a relative\n"
      ";   HOSTPATH lies in this directory; free= and total= override the host's sizes.\n";
  text += "[system]\n";
  text += "platform=" + std::string(PlatformKindName(config.platform)) + "\n";
  text += "country=" + config.country + "\n";
  text += "windows=" + config.windowsDir + "\n";
  text += "system=" + config.systemDir + "\n";
  text += "temp=" + config.tempDir + "\n";
  text += "\n[drives]\n";
  for (const DriveMapping& drive : config.drives) {
    text += std::string(1, drive.letter) + "=" + FormatDriveSpec(drive) + "\n";
  }
  return text;
}

MachineConfig NormalizeConfig(MachineConfig config) {
  if (HasLineBreakOrNul(config.country)) throw MachineError("the country name holds a line break");
  if (TrimBlanks(config.country).empty()) config.country = MachineConfig::Defaults(config.platform).country;

  for (DriveMapping& drive : config.drives) {
    // Re-parsing the formatted line applies every rule of a system.ini line, so
    // a configuration built in code cannot write a file that fails to load.
    const std::string line = FormatDriveSpec(drive);
    const std::string host = drive.hostPath.string();
    if (host.find(',') != std::string::npos || HasLineBreakOrNul(host) || StripComment(host) != host) {
      throw MachineError("drive " + std::string(1, drive.letter) + ": the host path '" + host +
                         "' cannot be written to system.ini (comma, line break or ' ;' in it)");
    }
    drive = ParseDriveSpec(drive.letter, line);
  }
  std::sort(config.drives.begin(), config.drives.end(),
            [](const DriveMapping& a, const DriveMapping& b) { return a.letter < b.letter; });
  for (std::size_t i = 1; i < config.drives.size(); ++i) {
    if (config.drives[i].letter == config.drives[i - 1].letter) {
      throw MachineError("drive " + std::string(1, config.drives[i].letter) + ": is mapped twice");
    }
  }
  // Every host path stays reachable through Z:.
  const bool hasZ = !config.drives.empty() && config.drives.back().letter == 'Z';
  if (!hasZ) config.drives.push_back(ParseDriveSpec('Z', "fixed,/"));

  const auto checkDir = [&](std::string& dir, std::string_view what) {
    dir = NormalizeWindowsDir(dir, std::string(what) + " directory");
    const bool mapped = std::any_of(config.drives.begin(), config.drives.end(),
                                    [&](const DriveMapping& d) { return d.letter == dir[0]; });
    if (!mapped) {
      throw MachineError(std::string(what) + " directory '" + dir + "' lies on drive " + dir.substr(0, 2) +
                         ", which [drives] does not map");
    }
  };
  checkDir(config.windowsDir, "windows");
  checkDir(config.systemDir, "system");
  checkDir(config.tempDir, "temp");
  return config;
}

}  // namespace platform
