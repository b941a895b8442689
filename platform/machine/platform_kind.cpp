#include "platform/machine/machine.h"
#include "platform/profile/ini_document.h"

namespace platform {

std::string_view PlatformKindName(PlatformKind kind) {
  switch (kind) {
    case PlatformKind::Win95:
      return "win95";
    case PlatformKind::Nt351:
      return "nt351";
    case PlatformKind::Nt4:
      return "nt4";
  }
  return "win95";
}

std::optional<PlatformKind> ParsePlatformKind(std::string_view text) {
  text = TrimBlanks(text);
  for (PlatformKind kind : {PlatformKind::Win95, PlatformKind::Nt351, PlatformKind::Nt4}) {
    if (EqualsIgnoreCase(text, PlatformKindName(kind))) return kind;
  }
  return std::nullopt;
}

OsVersion VersionOf(PlatformKind kind) {
  switch (kind) {
    case PlatformKind::Win95:
      return {1, 4, 0, 950};
    case PlatformKind::Nt351:
      return {2, 3, 51, 1057};
    case PlatformKind::Nt4:
      return {2, 4, 0, 1381};
  }
  return {1, 4, 0, 950};
}

MachineConfig MachineConfig::Defaults(PlatformKind kind) {
  MachineConfig config;
  config.platform = kind;
  if (kind == PlatformKind::Win95) {
    config.windowsDir = "C:\\WINDOWS";
    config.systemDir = "C:\\WINDOWS\\SYSTEM";
    config.tempDir = "C:\\WINDOWS\\TEMP";
  } else {
    config.windowsDir = "C:\\WINNT";
    config.systemDir = "C:\\WINNT\\SYSTEM32";
    config.tempDir = "C:\\TEMP";
  }
  DriveMapping c;
  c.letter = 'C';
  c.type = DriveType::Fixed;
  c.hostPath = "drive_c";
  DriveMapping z;
  z.letter = 'Z';
  z.type = DriveType::Fixed;
  z.hostPath = "/";
  config.drives = {c, z};
  return config;
}

}  // namespace platform
