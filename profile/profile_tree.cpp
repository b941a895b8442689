#include "profile/profile_tree.h"

#include "profile/profile_parser.h"

void ProfileSection::AddValue(std::string value) {
  if (!keys_.empty()) keys_.back().AddValue(std::move(value));
}

void ProfileFile::AddKey(std::string name) {
  if (!sections_.empty()) sections_.back().AddKey(std::move(name));
}

void ProfileFile::AddValue(std::string value) {
  if (!sections_.empty()) sections_.back().AddValue(std::move(value));
}

bool ProfileNamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

ParseDiagnostics ProfileFile::Load() { return ParseProfile(*this); }
