#include "tools/qmtool/registry_transfer.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/registry/registry.h"

namespace qmtool {
namespace {

using platform::RegKey;
using platform::RegStatus;

constexpr RegKey kRoots[] = {platform::HKEY_CLASSES_ROOT, platform::HKEY_CURRENT_USER,
                             platform::HKEY_LOCAL_MACHINE, platform::HKEY_USERS};

bool IsRoot(RegKey key) { return std::find(std::begin(kRoots), std::end(kRoots), key) != std::end(kRoots); }

// Closes a key handle when it goes; roots are never closed.
class KeyHandle {
 public:
  explicit KeyHandle(RegKey key = 0) : key_(key) {}
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  ~KeyHandle() {
    if (key_ != 0 && !IsRoot(key_)) platform::RegCloseKey(key_);
  }
  RegKey Get() const { return key_; }
  RegKey* Out() { return &key_; }

 private:
  RegKey key_;
};

std::string Status(RegStatus status) { return "registry error " + std::to_string(status); }

struct ParsedPath {
  RegKey root = 0;
  std::vector<std::string> components;  // below the root
};

ParsedPath ParsePath(std::string_view path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(std::move(part));
  if (parts.empty()) throw RegistryTransferError("empty key path");

  std::string rootName = parts.front();
  for (char& c : rootName) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (rootName == "HKLM") rootName = "HKEY_LOCAL_MACHINE";
  if (rootName == "HKCU") rootName = "HKEY_CURRENT_USER";
  if (rootName == "HKCR") rootName = "HKEY_CLASSES_ROOT";
  if (rootName == "HKU") rootName = "HKEY_USERS";
  ParsedPath parsed;
  parsed.root = platform::RootKeyFromName(rootName);
  if (parsed.root == 0) throw RegistryTransferError("unknown root key '" + parts.front() + "'");
  parsed.components.assign(parts.begin() + 1, parts.end());
  return parsed;
}

std::string JoinSubkey(const std::vector<std::string>& components) {
  std::string joined;
  for (const std::string& component : components) {
    if (!joined.empty()) joined += '\\';
    joined += component;
  }
  return joined;
}

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const auto lower = [](unsigned char c) { return std::tolower(c); };
  const bool less = std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) < lower(y); });
  const bool greater = std::lexicographical_compare(
      b.begin(), b.end(), a.begin(), a.end(), [&](char x, char y) { return lower(x) < lower(y); });
  return less || (!greater && a < b);
}

std::vector<std::string> SubkeyNames(RegKey key) {
  std::vector<std::string> names;
  for (std::uint32_t index = 0;; ++index) {
    std::string name;
    const RegStatus status = platform::RegEnumKey(key, index, &name);
    if (status == platform::ERROR_NO_MORE_ITEMS) break;
    if (status != platform::ERROR_SUCCESS) throw RegistryTransferError("listing subkeys: " + Status(status));
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end(), LessIgnoringCase);
  return names;
}

std::vector<RegFileValue> ValuesOf(RegKey key) {
  std::vector<RegFileValue> values;
  for (std::uint32_t index = 0;; ++index) {
    platform::RegValue value;
    const RegStatus status = platform::RegEnumValue(key, index, &value);
    if (status == platform::ERROR_NO_MORE_ITEMS) break;
    if (status != platform::ERROR_SUCCESS) throw RegistryTransferError("listing values: " + Status(status));
    values.push_back({std::move(value.name), value.type, std::move(value.data), false});
  }
  std::sort(values.begin(), values.end(),
            [](const RegFileValue& a, const RegFileValue& b) { return LessIgnoringCase(a.name, b.name); });
  return values;
}

void Collect(RegKey key, const std::string& path, RegFile& out) {
  out.keys.push_back({path, ValuesOf(key), false});
  for (const std::string& name : SubkeyNames(key)) {
    KeyHandle child;
    const RegStatus status = platform::RegOpenKeyEx(key, name, 0, platform::KEY_READ, child.Out());
    if (status != platform::ERROR_SUCCESS) throw RegistryTransferError("opening " + path + "\\" + name + ": " + Status(status));
    Collect(child.Get(), path + "\\" + name, out);
  }
}

// Opens the key of path and spells its path as the registry keeps it.
bool OpenExisting(const ParsedPath& parsed, KeyHandle& handle, std::string& spelled) {
  spelled = std::string(platform::RootKeyName(parsed.root));
  RegKey parent = parsed.root;
  KeyHandle current(parsed.root);
  for (const std::string& component : parsed.components) {
    std::string stored = component;
    for (const std::string& name : SubkeyNames(parent)) {
      std::string a = name, b = component;
      for (char& c : a) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      for (char& c : b) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (a == b) stored = name;
    }
    KeyHandle next;
    if (platform::RegOpenKeyEx(parent, component, 0, platform::KEY_READ, next.Out()) != platform::ERROR_SUCCESS) {
      return false;
    }
    spelled += "\\" + stored;
    std::swap(*current.Out(), *next.Out());
    parent = current.Get();
  }
  std::swap(*handle.Out(), *current.Out());
  return true;
}

RegStatus DeleteTree(RegKey parent, const std::string& name) {
  {
    KeyHandle key;
    const RegStatus status = platform::RegOpenKeyEx(parent, name, 0, platform::KEY_ALL_ACCESS, key.Out());
    if (status != platform::ERROR_SUCCESS) return status;
    for (const std::string& child : SubkeyNames(key.Get())) {
      const RegStatus childStatus = DeleteTree(key.Get(), child);
      if (childStatus != platform::ERROR_SUCCESS) return childStatus;
    }
  }
  return platform::RegDeleteKey(parent, name);
}

}  // namespace

RegFile ReadRegistry(const std::optional<std::string>& keyPath) {
  RegFile file;
  if (!keyPath) {
    for (RegKey root : kRoots) Collect(root, std::string(platform::RootKeyName(root)), file);
    return file;
  }
  const ParsedPath parsed = ParsePath(*keyPath);
  KeyHandle key;
  std::string spelled;
  if (!OpenExisting(parsed, key, spelled)) throw RegistryTransferError("no key " + *keyPath);
  Collect(key.Get(), spelled, file);
  return file;
}

void ApplyToRegistry(const RegFile& file) {
  for (const RegFileKey& fileKey : file.keys) {
    const ParsedPath parsed = ParsePath(fileKey.path);
    if (fileKey.deleted) {
      if (parsed.components.empty()) throw RegistryTransferError("a root key cannot be deleted: " + fileKey.path);
      const RegStatus status = DeleteTree(parsed.root, JoinSubkey(parsed.components));
      if (status != platform::ERROR_SUCCESS && status != platform::ERROR_FILE_NOT_FOUND) {
        throw RegistryTransferError("deleting " + fileKey.path + ": " + Status(status));
      }
      continue;
    }
    KeyHandle key(parsed.root);
    if (!parsed.components.empty()) {
      const RegStatus status = platform::RegCreateKeyEx(parsed.root, JoinSubkey(parsed.components), "", 0,
                                                        platform::KEY_ALL_ACCESS, nullptr, key.Out(), nullptr);
      if (status != platform::ERROR_SUCCESS) {
        throw RegistryTransferError("creating " + fileKey.path + ": " + Status(status));
      }
    }
    for (const RegFileValue& value : fileKey.values) {
      const RegStatus status = value.deleted ? platform::RegDeleteValue(key.Get(), value.name)
                                             : platform::RegSetValueEx(key.Get(), value.name, value.type, value.data);
      if (status != platform::ERROR_SUCCESS && !(value.deleted && status == platform::ERROR_FILE_NOT_FOUND)) {
        throw RegistryTransferError((value.deleted ? "deleting value \"" : "setting value \"") + value.name +
                                    "\" of " + fileKey.path + ": " + Status(status));
      }
    }
  }
}

bool DeleteRegistryTree(std::string_view keyPath) {
  const ParsedPath parsed = ParsePath(keyPath);
  if (parsed.components.empty()) throw RegistryTransferError("a root key cannot be deleted: " + std::string(keyPath));
  const RegStatus status = DeleteTree(parsed.root, JoinSubkey(parsed.components));
  if (status == platform::ERROR_FILE_NOT_FOUND) return false;
  if (status != platform::ERROR_SUCCESS) {
    throw RegistryTransferError("deleting " + std::string(keyPath) + ": " + Status(status));
  }
  return true;
}

}  // namespace qmtool
