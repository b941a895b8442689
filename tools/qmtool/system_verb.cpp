// qmtool system: create and inspect an emulated Windows machine.

#include <stdlib.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "platform/machine/machine.h"
#include "platform/process/process.h"
#include "tools/qmtool/shell_folders.h"
#include "tools/qmtool/verbs.h"

namespace qmtool {
namespace {

constexpr int kExitNotStarted = 127;  // as a shell says it

constexpr const char* kUsage =
    "Usage: qmtool system init [--root DIR] [--platform win95|nt351|nt4] [--country NAME]\n"
    "                          [--drive LETTER=TYPE,HOSTPATH[,free=BYTES][,total=BYTES]]...\n"
    "       qmtool system path [--root DIR] WINPATH\n"
    "       qmtool system info [--root DIR]\n"
    "       qmtool system run [--root DIR] WINPATH [ARGUMENT]...\n"
    "\n"
    "init   creates the machine (or rewrites its system.ini), with the Windows, System\n"
    "       and temporary directories of the platform kind on drive C:. Without --drive\n"
    "       the drives are C=fixed,drive_c (under the root) and Z=fixed,/ ; each --drive\n"
    "       adds a drive or replaces the default one of that letter. TYPE is removable,\n"
    "       fixed, remote, cdrom, ramdisk or the Windows number; free= and total= stage\n"
    "       a drive's free and total bytes. It also creates the Start menu's Programs\n"
    "       folder and names it in the registry, as the \"Programs\" value of\n"
    "       HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\\n"
    "       Shell Folders: C:\\WINDOWS\\Start Menu\\Programs on win95, and\n"
    "       C:\\WINNT\\Profiles\\Administrator\\Start Menu\\Programs on nt4 and on nt351\n"
    "       (which shows program items in Program Manager, but the setup reads the value).\n"
    "       It creates HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\\n"
    "       Uninstall, where installed programs register their removal.\n"
    "path   prints the host path of a Windows path (exit 1 when its drive is not mapped).\n"
    "info   prints the machine.\n"
    "run    runs a program of the machine as the machine runs it, whatever its mode\n"
    "       bits: an ELF file directly, a file starting with \"#!\" through its\n"
    "       interpreter. It gets its host path, then the arguments (Windows switches\n"
    "       such as /B; none may start with '-'), and QMSETUP_SYSTEM names the machine.\n"
    "       The exit status is the program's, 127 when it cannot be started.\n"
    "\n"
    "The machine is --root, else QMSETUP_SYSTEM, else $XDG_DATA_HOME/qmsetup/system;\n"
    "path and info create it with the defaults when it does not exist yet.\n";

std::string FormatBytes(uint64_t bytes) {
  const char* units[] = {"B", "KB", "MB", "GB", "TB"};
  double value = static_cast<double>(bytes);
  int unit = 0;
  while (value >= 1024.0 && unit < 4) {
    value /= 1024.0;
    ++unit;
  }
  char text[64];
  std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", value, units[unit]);
  return text;
}

void ApplyDrive(platform::MachineConfig& config, const std::string& text) {
  const std::size_t eq = text.find('=');
  if (eq != 1 || !std::isalpha(static_cast<unsigned char>(text[0]))) {
    throw UsageError("--drive wants LETTER=TYPE,HOSTPATH, not '" + text + "'");
  }
  const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  platform::DriveMapping drive;
  try {
    drive = platform::ParseDriveSpec(letter, text.substr(eq + 1));
  } catch (const platform::MachineError& e) {
    throw UsageError(e.what());
  }
  for (platform::DriveMapping& existing : config.drives) {
    if (existing.letter == letter) {
      existing = drive;
      return;
    }
  }
  config.drives.push_back(drive);
}

std::filesystem::path RootFrom(Arguments& args) {
  if (auto root = args.TakeOption("--root")) return std::filesystem::absolute(*root);
  return platform::DefaultSystemRoot();
}

void PrintDirectory(const char* label, const std::string& winPath) {
  std::filesystem::path host;
  if (platform::MapToHost(winPath, host)) {
    std::printf("%-10s %s  ->  %s\n", label, winPath.c_str(), host.c_str());
  } else {
    std::printf("%-10s %s  (not mapped)\n", label, winPath.c_str());
  }
}

void PrintMachine(const platform::Machine& machine) {
  const platform::MachineConfig& config = machine.Config();
  const platform::OsVersion version = machine.Version();
  std::printf("%-10s %s\n", "Root", machine.Root().c_str());
  std::printf("%-10s %s (platform id %u, version %u.%u, build %u)\n", "Platform",
              std::string(platform::PlatformKindName(config.platform)).c_str(), version.platformId,
              version.major, version.minor, version.build);
  std::printf("%-10s %s\n", "Country", config.country.c_str());
  PrintDirectory("Windows", config.windowsDir);
  PrintDirectory("System", config.systemDir);
  PrintDirectory("Temporary", config.tempDir);
  std::printf("Drives\n");
  for (const platform::DriveMapping& drive : config.drives) {
    const std::string root = std::string(1, drive.letter) + ":\\";
    platform::DiskSpace space;
    std::string spaceText = "free space unknown";
    if (platform::GetDiskFreeSpace(root, space)) {
      spaceText = FormatBytes(space.freeBytes) + " free of " + FormatBytes(space.totalBytes);
    }
    std::printf("  %c:  %-9s  %-40s  %s\n", drive.letter,
                std::string(platform::DriveTypeName(drive.type)).c_str(),
                machine.DriveHostPath(drive).c_str(), spaceText.c_str());
  }
}

int Init(Arguments& args) {
  const std::filesystem::path root = RootFrom(args);
  platform::PlatformKind kind = platform::PlatformKind::Win95;
  if (auto text = args.TakeOption("--platform")) {
    auto parsed = platform::ParsePlatformKind(*text);
    if (!parsed) throw UsageError("unknown platform '" + *text + "' (win95, nt351 or nt4)");
    kind = *parsed;
  }
  platform::MachineConfig config = platform::MachineConfig::Defaults(kind);
  if (auto country = args.TakeOption("--country")) config.country = *country;
  for (const std::string& drive : args.TakeAll("--drive")) ApplyDrive(config, drive);
  args.ExpectEnd();

  const bool existed = std::filesystem::exists(root / "system.ini");
  platform::Machine::Create(root, config);
  platform::UseMachine(root);
  const std::string programs = SeedShellFolders(config);
  SeedUninstallKey();
  std::printf("%s the machine in %s\n\n", existed ? "Rewrote" : "Created", root.c_str());
  PrintMachine(platform::CurrentMachine());
  std::printf("%-10s %s\n", "Programs", programs.c_str());
  return kExitOk;
}

int Path(Arguments& args) {
  const std::filesystem::path root = RootFrom(args);
  const std::optional<std::string> winPath = args.TakePositional();
  if (!winPath) throw UsageError("path needs a Windows path");
  args.ExpectEnd();
  platform::UseMachine(root);
  std::filesystem::path host;
  if (!platform::MapToHost(*winPath, host)) {
    const int err = errno;
    if (err == ENODEV) {
      std::fprintf(stderr, "qmtool system path: drive %c: is not mapped on this machine (%s)\n",
                   static_cast<char>(std::toupper(static_cast<unsigned char>((*winPath)[0]))),
                   root.c_str());
    } else if (err == ENAMETOOLONG) {
      std::fprintf(stderr, "qmtool system path: '%s' is longer than %zu characters\n",
                   winPath->c_str(), platform::kMaxPath);
    } else {
      std::fprintf(stderr, "qmtool system path: '%s' is not a valid Windows path\n", winPath->c_str());
    }
    return kExitFailure;
  }
  std::printf("%s\n", host.c_str());
  return kExitOk;
}

int Run(Arguments& args) {
  const std::filesystem::path root = RootFrom(args);
  const std::optional<std::string> winPath = args.TakePositional();
  if (!winPath) throw UsageError("run needs the Windows path of a program");
  platform::UseMachine(root);
  std::filesystem::path host;
  if (!platform::MapToHost(*winPath, host)) {
    std::fprintf(stderr, "qmtool system run: '%s' is not a path of this machine\n", winPath->c_str());
    return kExitNotStarted;
  }
  std::vector<std::string> arguments{host.string()};
  while (std::optional<std::string> word = args.TakePositional()) arguments.push_back(*word);
  // The program finds the same machine, whichever way it was named here.
  setenv("QMSETUP_SYSTEM", platform::CurrentMachine().Root().c_str(), 1);
  const std::optional<int> status = platform::RunProgramAndWait(*winPath, arguments);
  if (!status) {
    std::fprintf(stderr, "qmtool system run: cannot start %s: no such file, or not a program\n", winPath->c_str());
    return kExitNotStarted;
  }
  return *status;
}

int Info(Arguments& args) {
  const std::filesystem::path root = RootFrom(args);
  args.ExpectEnd();
  platform::UseMachine(root);
  PrintMachine(platform::CurrentMachine());
  return kExitOk;
}

}  // namespace

int RunSystemVerb(Arguments& args) {
  if (const auto answered = AnswerHelpOrVersion(args, "system", kUsage)) return *answered;
  const std::optional<std::string> action = args.TakePositional();
  if (!action) throw UsageError("system needs an action: init, path, info or run");
  try {
    if (*action == "init") return Init(args);
    if (*action == "path") return Path(args);
    if (*action == "info") return Info(args);
    if (*action == "run") return Run(args);
  } catch (const platform::MachineError& e) {
    std::fprintf(stderr, "qmtool system %s: %s\n", action->c_str(), e.what());
    return kExitFailure;
  } catch (const std::filesystem::filesystem_error& e) {
    std::fprintf(stderr, "qmtool system %s: %s\n", action->c_str(), e.what());
    return kExitFailure;
  }
  throw UsageError("unknown action '" + *action + "' (init, path, info or run)");
}

}  // namespace qmtool
