#include "platform/machine/directory_listing_cache.h"

#include <dirent.h>
#include <sys/stat.h>
#include <time.h>

#include <cstdint>
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "platform/machine/host_paths.h"
#include "platform/machine/resolved_directory_cache.h"
#include "platform/profile/ini_document.h"

namespace platform {
namespace {

// A directory changed less than this before it was read may change again with
// the same time stamp (file systems stamp with a clock of a few milliseconds).
constexpr std::int64_t kSettledNanoseconds = 100'000'000;
// More directories than this and the cache starts afresh: an install touches a
// few dozen.
constexpr std::size_t kMostDirectories = 512;

std::int64_t Nanoseconds(const timespec& t) { return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec; }

struct Stamp {
  std::int64_t modified = 0;
  std::int64_t changed = 0;
  bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const struct stat& st) { return {Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim)}; }

// Names that differ only in letter case meet in one bucket. One node per name
// and nothing else: an install notes every file it places, and a map of sets
// cost four times as much (and kept a node for each name long gone).
struct FoldedHash {
  std::size_t operator()(std::string_view name) const { return HashIgnoringCase(name); }
};
struct FoldedEqual {
  bool operator()(std::string_view a, std::string_view b) const { return EqualsIgnoreAsciiCase(a, b); }
};
using NameSet = std::unordered_multiset<std::string, FoldedHash, FoldedEqual>;

struct Listing {
  Stamp stamp;
  NameSet names;  // the names as stored

  NameSet::iterator FindExact(const std::string& name) {
    auto [it, last] = names.equal_range(name);
    for (; it != last; ++it) {
      if (*it == name) return it;
    }
    return names.end();
  }
};

using DirectoryKey = std::pair<dev_t, ino_t>;

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

class ListingCache {
 public:
  std::optional<std::string> Find(const std::filesystem::path& dir, std::string_view name, bool* directoryMissing) {
    struct stat st;
    if (stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
      if (directoryMissing) *directoryMissing = true;
      return std::nullopt;
    }
    const DirectoryKey key{st.st_dev, st.st_ino};
    std::lock_guard lock(mutex_);
    auto it = listings_.find(key);
    if (it == listings_.end() || !(it->second.stamp == StampOf(st))) {
      if (it != listings_.end()) listings_.erase(it);
      std::optional<Listing> read = Read(dir, st);
      if (!read) return std::nullopt;
      if (!Settled(st)) return FirstOf(*read, name);  // used once, not kept
      it = Keep(key, std::move(*read));
    }
    return FirstOf(it->second, name);
  }

  // exists: whether path is there now.
  void Changed(const std::filesystem::path& path, bool exists) {
    const std::filesystem::path dir = path.parent_path();
    struct stat st;
    if (stat(dir.c_str(), &st) != 0) return;
    std::lock_guard lock(mutex_);
    const auto it = listings_.find({st.st_dev, st.st_ino});
    if (it == listings_.end()) return;
    const std::string name = path.filename().string();
    Listing& listing = it->second;
    const auto held = listing.FindExact(name);
    if (exists && held == listing.names.end()) {
      listing.names.insert(name);
    } else if (!exists && held != listing.names.end()) {
      listing.names.erase(held);
    }
    it->second.stamp = StampOf(st);
  }

  void Created(const std::filesystem::path& path) {
    Changed(path, true);
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
    std::lock_guard lock(mutex_);
    Listing empty;
    empty.stamp = StampOf(st);
    Keep({st.st_dev, st.st_ino}, std::move(empty));
  }

 private:
  static bool Settled(const struct stat& st) {
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const std::int64_t latest = std::max(Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim));
    return Nanoseconds(now) - latest > kSettledNanoseconds;
  }

  static std::optional<Listing> Read(const std::filesystem::path& dir, const struct stat& st) {
    const std::unique_ptr<DIR, DirCloser> stream(opendir(dir.c_str()));
    if (!stream) return std::nullopt;
    Listing listing;
    listing.stamp = StampOf(st);
    while (const dirent* entry = readdir(stream.get())) {
      const std::string_view entryName = entry->d_name;
      if (entryName == "." || entryName == "..") continue;
      listing.names.emplace(entryName);
    }
    return listing;
  }

  static std::optional<std::string> FirstOf(const Listing& listing, std::string_view name) {
    const auto [first, last] = listing.names.equal_range(std::string(name));
    if (first == last) return std::nullopt;
    return *std::min_element(first, last);
  }

  std::map<DirectoryKey, Listing>::iterator Keep(const DirectoryKey& key, Listing listing) {
    if (listings_.size() >= kMostDirectories) listings_.clear();
    return listings_.insert_or_assign(key, std::move(listing)).first;
  }

  std::mutex mutex_;
  std::map<DirectoryKey, Listing> listings_;
};

ListingCache& Cache() {
  static ListingCache cache;
  return cache;
}

}  // namespace

std::optional<std::string> CachedEntryIgnoringCase(const std::filesystem::path& dir, std::string_view name,
                                                   bool* directoryMissing) {
  return Cache().Find(dir, name, directoryMissing);
}

void NoteHostEntryChanged(const std::filesystem::path& path, HostEntryNow now) {
  // The directories that paths were last resolved to: a directory that went
  // takes what lay below it along, and one that came (a rename) may be a
  // second spelling of a name that was resolved to the first.
  if (now == HostEntryNow::Gone) {
    ResolvedDirectories().DropWithin(path);
  } else if (now == HostEntryNow::Directory) {
    ResolvedDirectories().DropAll();
  }
  Cache().Changed(path, now != HostEntryNow::Gone);
}

void NoteHostDirectoryCreated(const std::filesystem::path& path) {
  ResolvedDirectories().DropAll();
  Cache().Created(path);
}

}  // namespace platform
