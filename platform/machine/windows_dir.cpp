#include "platform/machine/windows_dir.h"

#include "platform/machine/machine.h"

namespace platform {
namespace {

bool IsPlainName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || std::string_view("<>:\"|?*").find(c) != std::string_view::npos) return false;
  }
  return true;
}

std::vector<std::string> SplitComponents(std::string_view rest) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= rest.size()) {
    const std::size_t sep = rest.find('\\', start);
    const std::string_view part = rest.substr(start, sep == std::string_view::npos ? sep : sep - start);
    if (!part.empty()) parts.emplace_back(part);
    if (sep == std::string_view::npos) break;
    start = sep + 1;
  }
  return parts;
}

}  // namespace

std::string NormalizeWindowsDir(std::string_view text, std::string_view what) {
  std::string path(text);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  const auto fail = [&](const std::string& problem) -> std::string {
    throw MachineError(std::string(what) + " '" + std::string(text) + "': " + problem);
  };
  const bool letter = path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (!letter || path[1] != ':' || path[2] != '\\') return fail("not a full Windows path such as C:\\WINDOWS");
  std::string normal = std::string(1, static_cast<char>(path[0] & ~0x20)) + ":\\";
  const std::vector<std::string> parts = SplitComponents(std::string_view(path).substr(3));
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (!IsPlainName(parts[i])) return fail("'" + parts[i] + "' is not a valid directory name");
    if (i > 0) normal += '\\';
    normal += parts[i];
  }
  if (normal.size() > 260) return fail("longer than 260 characters");
  return normal;
}

WindowsDir SplitWindowsDir(std::string_view normalized) {
  WindowsDir dir;
  dir.drive = normalized.empty() ? 'C' : normalized[0];
  if (normalized.size() > 3) dir.components = SplitComponents(normalized.substr(3));
  return dir;
}

}  // namespace platform
