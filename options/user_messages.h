#pragma once
// The option records and the macro substitution tell the user about bad profile
// text with a plain modal message (one OK button); the user interface implements
// this, tests record what would have been shown.

#include <string>

class UserMessages {
 public:
  virtual ~UserMessages() = default;
  virtual void ShowMessage(const std::string& text) = 0;
};
