#pragma once
// Test doubles for the option records and the macro substitution: a recorder of
// the messages the user would have seen, and sections built as the parser would.

#include <string>
#include <vector>

#include "options/user_messages.h"
#include "profile/profile_tree.h"

namespace qmtest {

class RecordingMessages : public UserMessages {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

struct KeyLine {
  std::string name;
  std::vector<std::string> values;
};

inline ProfileSection MakeSection(const std::string& name, const std::vector<KeyLine>& keys) {
  ProfileSection section(name);
  for (const KeyLine& key : keys) {
    section.AddKey(key.name);
    for (const std::string& value : key.values) section.AddValue(value);
  }
  return section;
}

}  // namespace qmtest
