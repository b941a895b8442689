#include "platform/machine/resolved_directory_cache.h"

#include "platform/machine/host_paths.h"

namespace platform {
namespace {

// An install works in a few dozen directories; past this the cache starts afresh.
constexpr std::size_t kMostDirectories = 256;

}  // namespace

std::optional<std::filesystem::path> ResolvedDirectoryCache::Find(const std::string& key) {
  std::lock_guard lock(mutex_);
  const auto it = directories_.find(key);
  if (it == directories_.end()) return std::nullopt;
  return it->second;
}

void ResolvedDirectoryCache::Keep(const std::string& key, const std::filesystem::path& directory) {
  std::lock_guard lock(mutex_);
  if (directories_.size() >= kMostDirectories) directories_.clear();
  directories_.insert_or_assign(key, directory);
}

void ResolvedDirectoryCache::Drop(const std::string& key) {
  std::lock_guard lock(mutex_);
  directories_.erase(key);
}

void ResolvedDirectoryCache::DropAll() {
  std::lock_guard lock(mutex_);
  directories_.clear();
}

void ResolvedDirectoryCache::DropWithin(const std::filesystem::path& hostPath) {
  std::lock_guard lock(mutex_);
  std::erase_if(directories_, [&](const auto& entry) { return HostPathWithin(hostPath, entry.second); });
}

ResolvedDirectoryCache& ResolvedDirectories() {
  static ResolvedDirectoryCache cache;
  return cache;
}

}  // namespace platform
