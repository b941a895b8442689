#pragma once
// Walks the key names of one INI section, pointing a CIniItem at each in turn:
//   CIniSectionReader reader("groups", file);
//   CIniItem item;
//   for (bool more = reader.First(item); more; more = reader.Next(item)) item.Read();

#include <cstddef>
#include <memory>
#include <string>

#include "install/log/ini_item.h"

class CIniSectionReader {
 public:
  // An empty file stands for the default INI file (install/ini_defaults.h).
  explicit CIniSectionReader(std::string section, std::string file = {});

  // Reads the section's key names and points item at this file, this section and
  // the first key. False, with no key list kept, when the section has no keys
  // (also for a missing file or section).
  bool First(CIniItem& item);
  // Points item at the next key. False at the end of the list, where the key
  // list is released; also false before First.
  bool Next(CIniItem& item);

  const std::string& Section() const { return section_; }
  const std::string& File() const { return file_; }
  // Whether a key list is held now; it is released at the end and when empty.
  bool HoldsKeyList() const { return keys_ != nullptr; }

 private:
  bool ReadKeyList();
  void Release();

  std::string file_;
  std::string section_;
  std::unique_ptr<char[]> keys_;  // NUL-terminated names, ended by an empty name
  std::size_t keysLength_ = 0;    // characters the read returned
  std::size_t cursor_ = 0;
};
