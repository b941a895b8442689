#include "platform/machine/host_paths.h"

#include "platform/machine/directory_listing_cache.h"
#include "platform/machine/resolved_directory_cache.h"

#include <sys/stat.h>


namespace platform {
namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EntryExists(const std::filesystem::path& path, struct stat* seen = nullptr) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return false;
  if (seen != nullptr) *seen = st;
  return true;
}

}  // namespace

std::filesystem::path LexicalHostPath(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::path full = path.is_absolute() ? path : std::filesystem::absolute(path, ec);
  if (ec) full = std::filesystem::path("/") / path;
  std::string text = full.lexically_normal().string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

bool HostPathWithin(const std::filesystem::path& dir, const std::filesystem::path& path) {
  const std::string& d = dir.native();
  const std::string& p = path.native();
  if (d == "/") return !p.empty() && p.front() == '/';
  return p.size() >= d.size() && p.compare(0, d.size(), d) == 0 && (p.size() == d.size() || p[d.size()] == '/');
}

std::string FoldAsciiCase(std::string_view name) {
  std::string folded(name);
  for (char& c : folded) c = FoldAscii(c);
  return folded;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

std::optional<std::string> FindEntryIgnoringCase(const std::filesystem::path& dir, std::string_view name) {
  if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
  // The exact name costs one lstat; the directory scan is for the rare miss.
  if (EntryExists(dir / std::string(name))) return std::string(name);
  return CachedEntryIgnoringCase(dir, name);
}

namespace {

// The last component below a directory resolved before: nullopt when that
// directory is no longer there, so that the whole path is resolved afresh.
std::optional<std::filesystem::path> ResolveBelowKnownDirectory(const std::filesystem::path& dir,
                                                                const std::string& name, struct stat* seen) {
  if (name.empty() || name.find('/') != std::string::npos) return dir / name;
  std::filesystem::path path = dir / name;
  if (EntryExists(path, seen)) return path;
  bool directoryMissing = false;
  const std::optional<std::string> found = CachedEntryIgnoringCase(dir, name, &directoryMissing);
  if (directoryMissing) return std::nullopt;
  if (found) path.replace_filename(*found);
  return path;
}

}  // namespace

std::filesystem::path ResolveIgnoringCase(const std::filesystem::path& base,
                                          const std::vector<std::string>& components, struct stat* seen) {
  if (seen != nullptr) seen->st_mode = 0;
  const std::size_t directories = components.empty() ? 0 : components.size() - 1;
  std::string key;
  if (directories > 0) {
    key = ResolvedDirectoryCache::Key(base, components, directories);
    if (const std::optional<std::filesystem::path> dir = ResolvedDirectories().Find(key)) {
      if (std::optional<std::filesystem::path> path = ResolveBelowKnownDirectory(*dir, components.back(), seen)) {
        return std::move(*path);
      }
      ResolvedDirectories().Drop(key);
    }
  }
  std::filesystem::path result = base;
  bool missing = false;
  for (std::size_t i = 0; i < components.size(); ++i) {
    const std::string& component = components[i];
    if (!missing) {
      const std::optional<std::string> found = FindEntryIgnoringCase(result, component);
      if (found) {
        result /= *found;
        if (i + 1 == directories) ResolvedDirectories().Keep(key, result);
        continue;
      }
      missing = true;  // nothing below a missing directory can exist either
    }
    result /= component;
  }
  return result;
}

}  // namespace platform
