#include "platform/machine/machine.h"

#include <unistd.h>

#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/core/published_file.h"
#include "platform/machine/host_paths.h"
#include "platform/machine/system_ini.h"
#include "platform/machine/windows_dir.h"

namespace platform {
namespace {

constexpr const char* kSystemIni = "system.ini";

std::filesystem::path AbsoluteRoot(const std::filesystem::path& root) {
  if (root.empty()) throw MachineError("the system root is empty");
  return LexicalHostPath(root);
}

void MakeDirectories(const std::filesystem::path& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) throw MachineError("cannot create " + dir.string() + ": " + ec.message());
}

// Put in place whole by one rename, so a reader never sees half a file.
void WriteFileAtomically(const std::filesystem::path& path, const std::string& text) {
  try {
    PublishedFile file(path, 0644);
    file.Write(text);
    file.Publish();
  } catch (const std::system_error& error) {
    throw MachineError("cannot write " + path.string() + ": " + error.code().message());
  }
}

}  // namespace

Machine::Machine(std::filesystem::path root, MachineConfig config)
    : root_(std::move(root)), config_(std::move(config)) {}

Machine Machine::Load(const std::filesystem::path& root) {
  const std::filesystem::path absolute = AbsoluteRoot(root);
  const std::filesystem::path file = absolute / kSystemIni;
  std::ifstream in(file, std::ios::binary);
  if (!in) throw MachineError("cannot read " + file.string() + " (no machine there; 'qmtool system init' makes one)");
  std::ostringstream text;
  text << in.rdbuf();
  try {
    return Machine(absolute, ParseSystemIni(text.str()));
  } catch (const MachineError& e) {
    throw MachineError(file.string() + ": " + e.what());
  }
}

Machine Machine::Create(const std::filesystem::path& root, const MachineConfig& config) {
  Machine machine(AbsoluteRoot(root), NormalizeConfig(config));
  MakeDirectories(machine.root_);
  MakeDirectories(machine.RunDirectory());
  for (const DriveMapping& drive : machine.config_.drives) {
    const std::filesystem::path host = machine.DriveHostPath(drive);
    if (HostPathWithin(machine.root_, host)) MakeDirectories(host);
  }
  // An existing directory of another letter case is the same directory on Windows.
  for (const std::string* dir : {&machine.config_.windowsDir, &machine.config_.systemDir, &machine.config_.tempDir}) {
    const WindowsDir parts = SplitWindowsDir(*dir);
    MakeDirectories(ResolveIgnoringCase(machine.DriveHostPath(*machine.FindDrive(parts.drive)), parts.components));
  }
  WriteFileAtomically(machine.root_ / kSystemIni, FormatSystemIni(machine.config_));
  return machine;
}

const DriveMapping* Machine::FindDrive(char letter) const {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  for (const DriveMapping& drive : config_.drives) {
    if (drive.letter == letter) return &drive;
  }
  return nullptr;
}

std::filesystem::path Machine::DriveHostPath(const DriveMapping& drive) const {
  return LexicalHostPath(drive.hostPath.is_absolute() ? drive.hostPath : root_ / drive.hostPath);
}

}  // namespace platform
