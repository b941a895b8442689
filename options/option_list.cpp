#include "options/option_list.h"

#include <algorithm>

bool OptionNumberLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

void COptionList::AddOption(const ProfileSection& section, UserMessages& messages) {
  auto option = std::make_unique<COption>();
  option->ReadOptionSection(section, messages);
  // Before the first option whose number is greater: equal numbers stay in file order.
  const auto position = std::find_if(options_.begin(), options_.end(), [&](const auto& existing) {
    return OptionNumberLess(option->Number(), existing->Number());
  });
  options_.insert(position, std::move(option));
}
