#pragma once
// One value of one INI file (the install tables file or the install log), read
// and written through the system's private-profile functions.

#include <string>
#include <utility>

class CIniItem {
 public:
  // Flags for the constructor.
  static constexpr unsigned kAutoRead = 1;   // read the value at construction
  static constexpr unsigned kAutoWrite = 2;  // write a changed value at destruction (see below)

  CIniItem() = default;
  // An empty file stands for the default INI file (install/ini_defaults.h). With
  // kAutoRead and a section and key, the item reads itself here; value is then
  // the default for a missing key.
  CIniItem(std::string section, std::string key, std::string value = {}, std::string file = {},
           unsigned flags = 0);
  // With kAutoWrite, writes the value when the process-wide switch is on
  // (SetIniAutoWriteEnabled) and the value differs from the value as last read.
  // A failure there is ignored: a destructor has no one to tell.
  ~CIniItem();

  CIniItem(const CIniItem&) = default;
  CIniItem& operator=(const CIniItem&) = default;
  CIniItem(CIniItem&&) = default;
  CIniItem& operator=(CIniItem&&) = default;

  // Reads the value, with the current value as default, into a 256-byte buffer
  // (values are cut to 255 characters). The value and the value as last read both
  // become the result. True when the file holds the key, even with an empty value.
  bool Read();
  // Writes the current value under section and key. False when nothing was
  // written; the setup ignores that, as a failed log line stops nothing.
  bool Write();

  const std::string& Section() const { return section_; }
  const std::string& Key() const { return key_; }
  const std::string& File() const { return file_; }
  const std::string& Value() const { return value_; }
  const std::string& LastRead() const { return lastRead_; }
  bool AutoRead() const { return autoRead_; }
  bool AutoWrite() const { return autoWrite_; }

  void SetSection(std::string section) { section_ = std::move(section); }
  void SetKey(std::string key) { key_ = std::move(key); }
  void SetFile(std::string file) { file_ = std::move(file); }
  void SetValue(std::string value) { value_ = std::move(value); }

 private:
  // Replaces an empty file by the default; false when there is still none.
  bool ResolveFile();

  bool autoWrite_ = false;
  bool autoRead_ = false;
  std::string section_;
  std::string key_;
  std::string file_;
  std::string value_;
  std::string lastRead_;
};
