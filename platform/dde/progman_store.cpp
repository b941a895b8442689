#include "platform/dde/progman_store.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/core/exceptions.h"
#include "platform/core/published_file.h"
#include "platform/machine/host_paths.h"

namespace platform::dde {
namespace {

namespace fs = std::filesystem;

int ToInt(std::string_view text) {
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// A name any host file system takes: letters, digits and a few marks kept,
// the rest replaced, and short enough for a file name.
std::string FileStem(std::string_view groupName) {
  std::string stem;
  for (const char c : groupName.substr(0, 64)) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' ||
                       c == '-' || c == '_';
    stem.push_back(plain ? c : '_');
  }
  if (stem.empty()) stem = "_";
  return stem;
}

void WriteFileAtomically(const fs::path& path, const std::string& text) {
  try {
    PublishedFile file(path, 0644);
    file.Write(text);
    // The group file's bytes, and then its name, must reach the disk before
    // the group counts as written.
    if (::fsync(file.Descriptor()) != 0) throw std::system_error(errno, std::generic_category(), "fsync");
    file.Publish();
  } catch (const std::system_error& error) {
    throw FileException::FromErrno(error.code().value(), path.string());
  }
  const int dir = ::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace

ProgmanItem* ProgmanGroup::FindItem(std::string_view itemName) {
  for (ProgmanItem& item : items) {
    if (EqualsIgnoreAsciiCase(item.name, itemName)) return &item;
  }
  return nullptr;
}

std::string FormatGroupFile(const ProgmanGroup& group) {
  std::ostringstream out;
  out << "[Group]\r\nName=" << group.name << "\r\n";
  int number = 0;
  for (const ProgmanItem& item : group.items) {
    out << "[Item" << ++number << "]\r\n"
        << "Name=" << item.name << "\r\n"
        << "Command=" << item.command << "\r\n"
        << "Icon=" << item.iconPath << "\r\n"
        << "IconIndex=" << item.iconIndex << "\r\n"
        << "DefaultDir=" << item.defaultDir << "\r\n"
        << "Hotkey=" << item.hotkey << "\r\n"
        << "Minimized=" << (item.minimized ? 1 : 0) << "\r\n";
  }
  return out.str();
}

bool ParseGroupFile(std::string_view text, ProgmanGroup& group) {
  group = ProgmanGroup{};
  bool inGroup = false;
  bool named = false;
  ProgmanItem* item = nullptr;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.starts_with('[')) {
      inGroup = EqualsIgnoreAsciiCase(line, "[Group]");
      item = inGroup ? nullptr : &group.items.emplace_back();
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    if (inGroup) {
      if (EqualsIgnoreAsciiCase(key, "Name")) {
        group.name = value;
        named = true;
      }
      continue;
    }
    if (!item) continue;
    if (EqualsIgnoreAsciiCase(key, "Name")) item->name = value;
    else if (EqualsIgnoreAsciiCase(key, "Command")) item->command = value;
    else if (EqualsIgnoreAsciiCase(key, "Icon")) item->iconPath = value;
    else if (EqualsIgnoreAsciiCase(key, "IconIndex")) item->iconIndex = ToInt(value);
    else if (EqualsIgnoreAsciiCase(key, "DefaultDir")) item->defaultDir = value;
    else if (EqualsIgnoreAsciiCase(key, "Hotkey")) item->hotkey = ToInt(value);
    else if (EqualsIgnoreAsciiCase(key, "Minimized")) item->minimized = ToInt(value) != 0;
  }
  return named;
}

ProgmanGroupStore::ProgmanGroupStore(fs::path directory) : directory_(std::move(directory)) {
  std::error_code ec;
  std::vector<fs::path> files;
  for (fs::directory_iterator it(directory_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string extension = it->path().extension().string();
    if (EqualsIgnoreAsciiCase(extension, kGroupFileExtension) && it->is_regular_file()) files.push_back(it->path());
  }
  if (ec) throw FileException::FromErrno(ec.value(), directory_.string());
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    ProgmanGroup group;
    // A second file claiming a group already read is a stray copy; the first wins.
    if (!ParseGroupFile(text.str(), group) || Find(group.name)) continue;
    groups_.push_back(std::move(group));
    files_.push_back(file.filename().string());
  }
}

ProgmanGroup* ProgmanGroupStore::Find(std::string_view name) {
  for (ProgmanGroup& group : groups_) {
    if (EqualsIgnoreAsciiCase(group.name, name)) return &group;
  }
  return nullptr;
}

fs::path ProgmanGroupStore::NewFileName(std::string_view groupName) const {
  const std::string stem = FileStem(groupName);
  for (int n = 1;; ++n) {
    const std::string name = stem + (n == 1 ? "" : "~" + std::to_string(n)) + kGroupFileExtension;
    const bool taken = std::any_of(files_.begin(), files_.end(),
                                   [&](const std::string& f) { return EqualsIgnoreAsciiCase(f, name); });
    if (!taken && !FindEntryIgnoringCase(directory_, name)) return name;
  }
}

ProgmanGroup& ProgmanGroupStore::Create(std::string_view name) {
  if (ProgmanGroup* existing = Find(name)) return *existing;
  ProgmanGroup group;
  group.name = name;
  const std::string file = NewFileName(name).string();
  WriteFileAtomically(directory_ / file, FormatGroupFile(group));
  groups_.push_back(std::move(group));
  files_.push_back(file);
  return groups_.back();
}

fs::path ProgmanGroupStore::FileOf(const ProgmanGroup& group) const {
  const auto index = static_cast<std::size_t>(&group - groups_.data());
  return directory_ / files_.at(index);
}

void ProgmanGroupStore::Save(const ProgmanGroup& group) { WriteFileAtomically(FileOf(group), FormatGroupFile(group)); }

bool ProgmanGroupStore::Delete(std::string_view name) {
  ProgmanGroup* group = Find(name);
  if (!group) return false;
  const fs::path file = FileOf(*group);
  if (::unlink(file.c_str()) != 0 && errno != ENOENT) throw FileException::FromErrno(errno, file.string());
  const auto index = static_cast<std::size_t>(group - groups_.data());
  groups_.erase(groups_.begin() + static_cast<std::ptrdiff_t>(index));
  files_.erase(files_.begin() + static_cast<std::ptrdiff_t>(index));
  return true;
}

}  // namespace platform::dde
