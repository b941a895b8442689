#include "platform/fs/path_map.h"

#include "platform/fs/windows_path.h"
#include "platform/machine/host_paths.h"
#include "platform/machine/machine.h"

namespace platform {

bool GetFullPathName(std::string_view path, std::string& fullPath) {
  FullPath full;
  if (!ExpandWindowsPath(path, full)) return false;
  fullPath = full.Text();
  return true;
}

bool MapToHost(std::string_view winPath, std::filesystem::path& hostPath, struct stat* seen) {
  FullPath full;
  return ExpandWindowsPath(winPath, full) && HostPathOf(full, hostPath, seen);
}

std::string MapToWindows(const std::filesystem::path& hostPath) {
  const std::filesystem::path host = LexicalHostPath(hostPath);
  const Machine& machine = CurrentMachine();
  char letter = 'Z';
  std::filesystem::path base = "/";
  std::size_t bestLength = 0;
  bool matched = false;
  for (const DriveMapping& drive : machine.Config().drives) {
    const std::filesystem::path dir = machine.DriveHostPath(drive);
    if (HostPathWithin(dir, host) && (!matched || dir.native().size() > bestLength)) {
      letter = drive.letter;
      base = dir;
      bestLength = dir.native().size();
      matched = true;
    }
  }
  std::string text{letter, ':', '\\'};
  bool first = true;
  for (const std::filesystem::path& part : host.lexically_relative(base)) {
    if (part == ".") continue;
    if (!first) text += '\\';
    text += part.string();
    first = false;
  }
  return text;
}

}  // namespace platform
