#pragma once
// The emulated Windows machine: one directory on the host (the system root) that
// holds system.ini, the registry database, drive C: and the run-time sockets.
//
//   <root>/system.ini    [system] platform, country, windows, system, temp
//                        [drives] LETTER=TYPE,HOSTPATH[,free=BYTES][,total=BYTES]
//   <root>/registry.db   <root>/drive_c/   <root>/run/

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class PlatformKind { Win95, Nt351, Nt4 };

std::string_view PlatformKindName(PlatformKind kind);  // "win95", "nt351", "nt4"
std::optional<PlatformKind> ParsePlatformKind(std::string_view text);

// Windows drive types with their Windows numbers.
enum class DriveType : unsigned {
  Unknown = 0,
  NoRootDir = 1,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  CdRom = 5,
  RamDisk = 6,
};

std::string_view DriveTypeName(DriveType type);  // "removable", "fixed", ...
// Accepts the names and the Windows numbers.
std::optional<DriveType> ParseDriveType(std::string_view text);

// What the platform's version query reports.
struct OsVersion {
  uint32_t platformId;  // 1 Windows 95, 2 Windows NT
  uint32_t major;
  uint32_t minor;
  uint32_t build;
};
OsVersion VersionOf(PlatformKind kind);

struct DriveMapping {
  char letter = 'C';  // upper case
  DriveType type = DriveType::Fixed;
  // As written in system.ini; a relative path lies under the system root.
  std::filesystem::path hostPath;
  // Overrides of what the host file system reports, to stage full disks or diskettes.
  std::optional<uint64_t> freeBytes;
  std::optional<uint64_t> totalBytes;
};

// Parses "TYPE,HOSTPATH[,free=BYTES][,total=BYTES]": TYPE a name or the Windows
// number 2..6, fields after the host path only free= and total= (so a host path
// cannot hold a comma), BYTES decimal digits. Throws MachineError.
DriveMapping ParseDriveSpec(char letter, std::string_view text);
std::string FormatDriveSpec(const DriveMapping& drive);

struct MachineConfig {
  PlatformKind platform = PlatformKind::Win95;
  std::string country = "United States";
  std::string windowsDir;  // Windows paths, for example C:\WINDOWS
  std::string systemDir;
  std::string tempDir;
  std::vector<DriveMapping> drives;

  // The defaults of a platform kind: its Windows, System and temporary
  // directories, C: on drive_c under the root and Z: on the host's /.
  static MachineConfig Defaults(PlatformKind kind);
};

class MachineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Machine {
 public:
  // Reads <root>/system.ini. Throws MachineError when it is missing or malformed.
  static Machine Load(const std::filesystem::path& root);
  // Writes <root>/system.ini and creates the root, run/, the host directories of
  // drives that lie under the root, and the Windows, System and temporary
  // directories. Existing files (the registry, installed files) are kept.
  static Machine Create(const std::filesystem::path& root, const MachineConfig& config);

  const std::filesystem::path& Root() const { return root_; }
  const MachineConfig& Config() const { return config_; }
  OsVersion Version() const { return VersionOf(config_.platform); }

  // The mapping of a drive letter (either case), or null when it is not mapped.
  const DriveMapping* FindDrive(char letter) const;
  // The absolute host directory of a mapped drive.
  std::filesystem::path DriveHostPath(const DriveMapping& drive) const;

  std::filesystem::path RunDirectory() const { return root_ / "run"; }
  std::filesystem::path RegistryPath() const { return root_ / "registry.db"; }

 private:
  Machine(std::filesystem::path root, MachineConfig config);
  std::filesystem::path root_;
  MachineConfig config_;
};

// QMSETUP_SYSTEM when set, else $XDG_DATA_HOME/qmsetup/system, else
// ~/.local/share/qmsetup/system.
std::filesystem::path DefaultSystemRoot();

// The machine this process runs on: loaded on first use from DefaultSystemRoot(),
// and created there with the win95 defaults when it has no system.ini yet.
const Machine& CurrentMachine();

// Makes the machine at root (created with the defaults when it has none) the
// process's machine. For tools given --root and for tests. A reference that
// CurrentMachine() returned before is no longer valid afterwards.
void UseMachine(const std::filesystem::path& root);

}  // namespace platform
