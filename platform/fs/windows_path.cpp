#include "platform/fs/windows_path.h"

#include <unistd.h>

#include <cerrno>

#include "platform/fs/path_map.h"
#include "platform/machine/host_paths.h"
#include "platform/machine/machine.h"

namespace platform {
namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char UpperLetter(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Applies the components of text to full: "." stays, ".." climbs but never
// above the drive root, empty parts (doubled separators) vanish.
bool ApplyComponents(std::string_view text, FullPath& full) {
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t sep = text.find('\\', start);
    const std::string_view part = text.substr(start, sep == std::string_view::npos ? sep : sep - start);
    if (part == "..") {
      if (!full.components.empty()) full.components.pop_back();
    } else if (!part.empty() && part != ".") {
      if (part.find(':') != std::string_view::npos) return false;
      full.components.emplace_back(part);
    }
    if (sep == std::string_view::npos) break;
    start = sep + 1;
  }
  return true;
}

// The current directory is the host's, seen through the drive table.
bool CurrentFullPath(FullPath& full) {
  std::string cwd(4096, '\0');
  while (getcwd(cwd.data(), cwd.size()) == nullptr) {
    if (errno != ERANGE) return false;
    cwd.resize(cwd.size() * 2);
  }
  cwd.resize(cwd.find('\0'));
  const std::string windows = MapToWindows(cwd);
  full = FullPath{};
  full.drive = windows[0];
  return ApplyComponents(std::string_view(windows).substr(3), full);
}

}  // namespace

std::string FullPath::Text() const {
  std::string text{drive, ':', '\\'};
  for (std::size_t i = 0; i < components.size(); ++i) {
    if (i > 0) text += '\\';
    text += components[i];
  }
  if (trailingSeparator && !components.empty()) text += '\\';
  return text;
}

bool ExpandWindowsPath(std::string_view path, FullPath& full) {
  if (path.empty() || path.find('\0') != std::string_view::npos) {
    errno = EINVAL;
    return false;
  }
  std::string text(path);
  for (char& c : text) {
    if (c == '/') c = '\\';
  }
  // UNC names ("\\server\share") have no drive to map them to.
  if (text.size() >= 2 && text[0] == '\\' && text[1] == '\\') {
    errno = EINVAL;
    return false;
  }

  FullPath result;
  std::string_view rest = text;
  const bool hasDrive = text.size() >= 2 && IsLetter(text[0]) && text[1] == ':';
  if (hasDrive) rest.remove_prefix(2);
  const bool rooted = !rest.empty() && rest.front() == '\\';
  if (!rooted || !hasDrive) {
    FullPath current;
    if (!CurrentFullPath(current)) return false;
    if (!hasDrive) {
      result = rooted ? FullPath{current.drive, {}, false} : current;
    } else if (current.drive == UpperLetter(text[0])) {
      result = current;  // "C:x" is relative to the current directory when it is on C:
    }
  }
  if (hasDrive) result.drive = UpperLetter(text[0]);
  if (!ApplyComponents(rest, result)) {
    errno = EINVAL;
    return false;
  }
  result.trailingSeparator = text.back() == '\\';
  if (result.Text().size() > kMaxPath) {
    errno = ENAMETOOLONG;
    return false;
  }
  full = std::move(result);
  return true;
}

bool IsValidComponent(std::string_view component, bool allowWildcards) {
  for (char c : component) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
    if (std::string_view("<>:\"|").find(c) != std::string_view::npos) return false;
    if (!allowWildcards && (c == '*' || c == '?')) return false;
  }
  return true;
}

bool HostPathOf(const FullPath& full, std::filesystem::path& hostPath, struct stat* seen) {
  for (const std::string& component : full.components) {
    if (!IsValidComponent(component, false)) {
      errno = EINVAL;
      return false;
    }
  }
  const Machine& machine = CurrentMachine();
  const DriveMapping* drive = machine.FindDrive(full.drive);
  if (drive == nullptr) {
    errno = ENODEV;
    return false;
  }
  hostPath = ResolveIgnoringCase(machine.DriveHostPath(*drive), full.components, seen);
  return true;
}

}  // namespace platform
