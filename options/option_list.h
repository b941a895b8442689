#pragma once
// The option list: every "Option" section of the profile as a COption, ordered
// by number compared byte-wise as text ("10" before "2"; "01" is not "1").
// Options with equal numbers keep their file order.

#include <memory>
#include <string_view>
#include <vector>

#include "options/option.h"
#include "options/user_messages.h"
#include "profile/profile_tree.h"

class COptionList {
 public:
  // Reads one "Option" section into a new option and inserts it in order.
  void AddOption(const ProfileSection& section, UserMessages& messages);

  const std::vector<std::unique_ptr<COption>>& Options() const { return options_; }

 private:
  std::vector<std::unique_ptr<COption>> options_;
};

// Byte-wise comparison with the bytes taken as unsigned; a prefix sorts first.
bool OptionNumberLess(std::string_view a, std::string_view b);
