#pragma once
// Test doubles for the option records and the macro substitution: a recorder of
// the messages the user would have seen, and sections built as the parser would.

#include <string>
#include <vector>

#include "options/user_messages.h"
#include "tests/common/profile_sections.h"

namespace qmtest {

class RecordingMessages : public UserMessages {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

}  // namespace qmtest
