#pragma once
// The profile readers' messages to the user (a bad option number, a macro that
// never resolves) as the framework's message box with one OK button, titled
// with the application's title.

#include "options/user_messages.h"

class ProfileMessageBoxes : public UserMessages {
 public:
  void ShowMessage(const std::string& text) override;
};
