#pragma once
// The host directories that Windows paths led to, so that a path below one
// is found with one look-up of its last name instead of one per component.
//
// A copy maps the same few directories for every file it places, several
// times per file; each mapping would otherwise look up every component of the
// path again. A directory is kept only when every component of it existed.
// Its entry is checked on every use for free: the look-up of the last name
// goes through it, and a directory that is gone or no longer a directory is
// noticed there (the caller then drops the entry and resolves afresh). What
// the check cannot see is a second spelling of a name appearing beside the
// one found ("Data" beside "DATA"), which Windows itself never allows: the
// platform's own directory creations and renames drop every entry, and only
// a change behind its back during a run goes unseen.

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace platform {

class ResolvedDirectoryCache {
 public:
  // The host directory a key (the drive's directory and the components as
  // given, see Key) led to, if kept.
  std::optional<std::filesystem::path> Find(const std::string& key);
  void Keep(const std::string& key, const std::filesystem::path& directory);
  void Drop(const std::string& key);

  // A directory was created or renamed: a name may now have a second spelling.
  void DropAll();
  // hostPath is gone: entries that lie at or below it go with it.
  void DropWithin(const std::filesystem::path& hostPath);

  // The key of base followed by the first count components.
  template <typename Components>
  static std::string Key(const std::filesystem::path& base, const Components& components, std::size_t count) {
    std::string key = base.native();
    for (std::size_t i = 0; i < count; ++i) {
      key += '\0';
      key += components[i];
    }
    return key;
  }

 private:
  std::mutex mutex_;
  std::unordered_map<std::string, std::filesystem::path> directories_;
};

// The process's one cache, shared by every mapping.
ResolvedDirectoryCache& ResolvedDirectories();

}  // namespace platform
