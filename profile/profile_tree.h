#pragma once
// The parsed setup profile: an ordered tree of sections, keys and values, in the
// order the text gives them. Nothing is sorted, merged or interpreted; two
// sections (or keys) of one name are two entries. Copies are deep.

#include <string>
#include <string_view>
#include <vector>

#include "profile/parse_diagnostics.h"

class ProfileKey {
 public:
  explicit ProfileKey(std::string name) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }
  const std::vector<std::string>& Values() const { return values_; }
  // The first value, or an empty text for a key without values.
  std::string FirstValue() const { return values_.empty() ? std::string() : values_.front(); }

  void AddValue(std::string value) { values_.push_back(std::move(value)); }

 private:
  std::vector<std::string> values_;
  std::string name_;
};

class ProfileSection {
 public:
  explicit ProfileSection(std::string name) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }
  const std::vector<ProfileKey>& Keys() const { return keys_; }

  void AddKey(std::string name) { keys_.emplace_back(std::move(name)); }
  // Appends to the last key; the grammar never gives a value before a key.
  void AddValue(std::string value);

 private:
  std::vector<ProfileKey> keys_;
  std::string name_;
};

// Names in the profile compare ignoring the case of A-Z only.
bool ProfileNamesEqual(std::string_view a, std::string_view b);

class ProfileFile {
 public:
  explicit ProfileFile(std::string fileName) : fileName_(std::move(fileName)) {}

  const std::string& FileName() const { return fileName_; }
  const std::vector<ProfileSection>& Sections() const { return sections_; }

  // Parses the file named by FileName() into this profile (see profile_parser.h).
  // The setup ignores what the parse noticed; "qmtool profile check" prints it.
  ParseDiagnostics Load();

  // The builder operations of the parser.
  void AddSection(std::string name) { sections_.emplace_back(std::move(name)); }
  void AddKey(std::string name);
  void AddValue(std::string value);

 private:
  std::vector<ProfileSection> sections_;
  std::string fileName_;
};
