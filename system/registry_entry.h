#pragma once
// One registry value the setup writes, and the small registry access object
// that other work uses to read the "Programs" shell folder and to write the
// removal registration. An entry walks its key path from the root, creating
// missing keys (and logging them for the removal run), writes or reads one
// value there, and deletes keys again.
//
// Registry failures are never raised: every operation answers the registry's
// status code and a failed step leaves the entry as it was.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/registry.h"

class CRegistryEntry {
 public:
  // Option texts: "0" selects an entry for every setup type, "-1" marks a key
  // to delete at removal, "-99" never selects it.
  static constexpr const char* kEveryInstall = "0";
  static constexpr const char* kDeleteAtRemoval = "-1";
  static constexpr const char* kNeverSelected = "-99";

  // Size of the buffer ReadValue reads into; a longer value is not read.
  static constexpr std::uint32_t kReadBufferSize = 1000;

  CRegistryEntry() = default;
  // Closes every handle the entry still holds; the keys themselves stay.
  virtual ~CRegistryEntry();

  CRegistryEntry(const CRegistryEntry&) = delete;
  CRegistryEntry& operator=(const CRegistryEntry&) = delete;

  // Stores the texts and settings, decides the value type from the data as
  // given ("#" first: a 32-bit number) and splits the key path into its
  // components. Handles held from earlier work are closed.
  void InitEntry(std::string keyPath, std::string valueName, std::string data, std::string option,
                 std::string keyClass, std::uint32_t keyOptions, std::uint32_t access, const void* security);

  // Creates or opens each key of the path in turn. A component that cannot be
  // created is skipped and the next one is tried under the same parent. With
  // logging on, each newly created key is written to the log file's "Registry"
  // section. A key the registry cannot store (ERROR_CANTWRITE), or whose log
  // line cannot be written, ends the path with ERROR_CANTWRITE; a new key that
  // the log does not name is deleted again. Otherwise returns the status of
  // the last attempt.
  platform::RegStatus CreateKeyPath(bool log, std::string_view logFile = {});

  // Writes the value into the current key: the number after the "#" (which is
  // dropped from the data) as 4 bytes, or the text without a terminating zero.
  platform::RegStatus WriteValue();

  // Reads the value of the current key into the data. On failure the data stay.
  platform::RegStatus ReadValue();

  // Opens the path key by key and deletes its last key. A path whose keys
  // cannot all be opened deletes nothing.
  platform::RegStatus DeleteKeyPath();

  // Closes the current key, deletes the last key of the path under the parent
  // key (dropping it from the components when that succeeds), then closes the
  // parent key.
  platform::RegStatus CloseAndDeleteLast();

  bool Enabled() const { return enabled_; }
  void Enable() { enabled_ = true; }
  const std::string& Option() const { return option_; }
  platform::RegKey RootKey() const { return rootKey_; }
  platform::RegKey ParentKey() const { return parentKey_; }
  platform::RegKey CurrentKey() const { return currentKey_; }
  const std::string& RootName() const { return rootName_; }
  const std::string& KeyClass() const { return keyClass_; }
  std::uint32_t ValueType() const { return valueType_; }
  std::uint32_t KeyOptions() const { return keyOptions_; }
  std::uint32_t Access() const { return access_; }
  const void* Security() const { return security_; }
  const std::string& ValueName() const { return valueName_; }
  const std::string& Data() const { return data_; }
  const std::string& KeyPath() const { return keyPath_; }
  const std::vector<std::string>& Components() const { return components_; }

  void SetValueName(std::string valueName) { valueName_ = std::move(valueName); }
  void SetData(std::string data) { data_ = std::move(data); }

 private:
  // Remembers a handle the entry opened, so that it is closed once.
  void Hold(platform::RegKey key);
  void Close(platform::RegKey key);
  void CloseAll();

  bool enabled_ = false;
  std::string option_ = kNeverSelected;
  platform::RegKey rootKey_ = 0;
  platform::RegKey parentKey_ = 0;
  platform::RegKey currentKey_ = 0;
  std::string rootName_;
  std::string keyClass_;
  std::uint32_t valueType_ = platform::REG_SZ;
  std::uint32_t keyOptions_ = 1;
  std::uint32_t access_ = platform::KEY_READ;
  const void* security_ = nullptr;
  std::string valueName_;
  std::string data_;
  std::string keyPath_;
  std::vector<std::string> components_;

  std::vector<platform::RegKey> heldKeys_;  // opened here and not yet closed
};

// The components of a key path: runs of backslashes separate, a run at the end
// adds no empty component, a leading backslash gives an empty first component.
std::vector<std::string> SplitKeyPath(std::string_view keyPath);
