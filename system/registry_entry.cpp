#include "system/registry_entry.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "install/log/install_log.h"
#include "platform/core/crt_number.h"
#include "platform/profile/private_profile.h"

std::vector<std::string> SplitKeyPath(std::string_view keyPath) {
  std::vector<std::string> components;
  if (keyPath.empty()) return components;
  std::size_t position = 0;
  for (;;) {
    const std::size_t end = std::min(keyPath.find('\\', position), keyPath.size());
    components.emplace_back(keyPath.substr(position, end - position));
    position = keyPath.find_first_not_of('\\', end);
    if (position == std::string_view::npos) break;
  }
  return components;
}

CRegistryEntry::~CRegistryEntry() { CloseAll(); }

void CRegistryEntry::Hold(platform::RegKey key) { heldKeys_.push_back(key); }

void CRegistryEntry::Close(platform::RegKey key) {
  // Only handles this entry opened; the roots are never closed.
  const auto held = std::find(heldKeys_.begin(), heldKeys_.end(), key);
  if (held == heldKeys_.end()) return;
  heldKeys_.erase(held);
  platform::RegCloseKey(key);
}

void CRegistryEntry::CloseAll() {
  for (platform::RegKey key : heldKeys_) platform::RegCloseKey(key);
  heldKeys_.clear();
}

void CRegistryEntry::InitEntry(std::string keyPath, std::string valueName, std::string data, std::string option,
                               std::string keyClass, std::uint32_t keyOptions, std::uint32_t access,
                               const void* security) {
  keyPath_ = std::move(keyPath);
  valueName_ = std::move(valueName);
  data_ = std::move(data);
  option_ = std::move(option);
  keyClass_ = std::move(keyClass);
  keyOptions_ = keyOptions;
  access_ = access;
  security_ = security;
  // Decided on the data as the profile gives them: a macro that expands to
  // "#..." later still makes a text value.
  if (!data_.empty() && data_.front() == '#') valueType_ = platform::REG_DWORD;

  CloseAll();
  rootKey_ = parentKey_ = currentKey_ = 0;
  components_ = SplitKeyPath(keyPath_);
  rootName_ = components_.empty() ? std::string() : components_.front();
  rootKey_ = platform::RootKeyFromName(rootName_);
}

namespace {

bool KeyExists(platform::RegKey parent, const std::string& name) {
  platform::RegKey opened = 0;
  if (platform::RegOpenKeyEx(parent, name, 0, platform::KEY_READ, &opened) != platform::ERROR_SUCCESS) return false;
  platform::RegCloseKey(opened);
  return true;
}

}  // namespace

platform::RegStatus CRegistryEntry::CreateKeyPath(bool log, std::string_view logFile) {
  if (components_.empty()) return platform::ERROR_BADKEY;
  std::string pathSoFar = components_.front();
  platform::RegKey parent = rootKey_;
  // A path that names only its root creates nothing, and no key is current.
  platform::RegStatus status = platform::ERROR_BADKEY;
  for (std::size_t i = 1; i < components_.size(); ++i) {
    const std::string path = pathSoFar + '\\' + components_[i];
    // The log names a key before it exists, so that a removal after a kill at
    // any instant finds it; a key that is there already is never logged.
    const bool journaled = log && !KeyExists(parent, components_[i]);
    if (journaled && !platform::WritePrivateProfileString(install_log::kRegistrySection, path.c_str(),
                                                          install_log::kRegistryKeyValue, logFile)) {
      return platform::ERROR_CANTWRITE;
    }
    platform::RegKey created = 0;
    std::uint32_t disposition = 0;
    status = platform::RegCreateKeyEx(parent, components_[i], keyClass_, keyOptions_, access_, security_, &created,
                                      &disposition);
    if (journaled && (status != platform::ERROR_SUCCESS || disposition != platform::REG_CREATED_NEW_KEY)) {
      // Not created by us after all: its line goes again.
      platform::WritePrivateProfileString(install_log::kRegistrySection, path.c_str(), nullptr, logFile);
    }
    // A key that cannot be created is skipped: the next one goes under the
    // same parent, and the path logged is the path actually created.
    // A key the store failed to write ends the path: the rest would land
    // under the wrong parent.
    if (status == platform::ERROR_CANTWRITE) return status;
    if (status != platform::ERROR_SUCCESS) continue;
    Hold(created);
    parentKey_ = parent;
    currentKey_ = created;
    parent = created;
    pathSoFar = path;
  }
  return status;
}

platform::RegStatus CRegistryEntry::WriteValue() {
  if (valueType_ == platform::REG_DWORD) {
    // The "#" leaves the data for good; only a "#" is dropped, so that writing
    // the same entry twice writes the same number.
    if (!data_.empty() && data_.front() == '#') data_.erase(0, 1);
    const auto number = static_cast<std::uint32_t>(platform::ReadDecimalLong(data_));
    const std::array<std::uint8_t, 4> bytes = {
        static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
        static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
    return platform::RegSetValueEx(currentKey_, valueName_, platform::REG_DWORD, bytes);
  }
  // The text's own bytes, without a terminating zero.
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(data_.data());
  return platform::RegSetValueEx(currentKey_, valueName_, platform::REG_SZ, {bytes, data_.size()});
}

platform::RegStatus CRegistryEntry::ReadValue() {
  std::array<std::uint8_t, kReadBufferSize> buffer{};
  std::uint32_t size = kReadBufferSize;
  std::uint32_t type = platform::REG_NONE;
  const platform::RegStatus status = platform::RegQueryValueEx(currentKey_, valueName_, &type, buffer.data(), &size);
  // A value longer than the buffer reports the size it needs; nothing was read.
  if (status != platform::ERROR_SUCCESS) return status;
  size = std::min(size, kReadBufferSize);
  // Texts written by the system end in a zero that is not part of the text
  // (a folder path read here is joined with more path).
  if (type == platform::REG_SZ || type == platform::REG_EXPAND_SZ) {
    while (size > 0 && buffer[size - 1] == 0) --size;
  }
  data_.assign(reinterpret_cast<const char*>(buffer.data()), size);
  return status;
}

platform::RegStatus CRegistryEntry::DeleteKeyPath() {
  // A lone root is never deleted.
  if (components_.size() < 2) return platform::ERROR_INVALID_HANDLE;
  platform::RegKey key = rootKey_;
  for (std::size_t i = 1; i < components_.size(); ++i) {
    platform::RegKey opened = 0;
    const platform::RegStatus status = platform::RegOpenKeyEx(key, components_[i], 0, access_, &opened);
    // A missing key on the way means the path is not there: deleting the last
    // name under some other key would take away a key that was never ours.
    if (status != platform::ERROR_SUCCESS) return status;
    Hold(opened);
    parentKey_ = key;
    currentKey_ = opened;
    key = opened;
  }
  return platform::RegDeleteKey(parentKey_, components_.back());
}

platform::RegStatus CRegistryEntry::CloseAndDeleteLast() {
  Close(currentKey_);
  currentKey_ = 0;
  platform::RegStatus status = platform::ERROR_BADKEY;
  if (!components_.empty()) {
    status = platform::RegDeleteKey(parentKey_, components_.back());
    if (status == platform::ERROR_SUCCESS) components_.pop_back();
  }
  Close(parentKey_);
  parentKey_ = 0;
  return status;
}
