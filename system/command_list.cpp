#include "system/command_list.h"

#include <cstdio>

#include "options/macro_substitution.h"

void CCommandList::AddCommandEntry(const ProfileSection& section) {
  entries_.push_back(std::make_unique<CCommandEntry>(section));
}

void CCommandList::EnableCommands(std::string_view selector) {
  for (const auto& entry : entries_) {
    if (entry->Option() == selector) entry->Enable();
  }
}

void CCommandList::SubstituteCommands(const MacroTable& macros, UserMessages& messages) {
  for (const auto& entry : entries_) {
    entry->SetCommand(Substitute(entry->Command(), macros, messages));
    std::vector<std::string> arguments;
    for (const std::string& argument : entry->Arguments()) arguments.push_back(Substitute(argument, macros, messages));
    entry->SetArguments(std::move(arguments));
  }
}

void CCommandList::RunCommands(FocusReturn* window) {
  for (const auto& entry : entries_) {
    if (!entry->Enabled()) continue;
    switch (entry->RunCommand()) {
      case CCommandEntry::RunResult::Ran:
        break;
      case CCommandEntry::RunResult::NotStarted:
        std::fprintf(stderr, "cannot start %s: skipped\n", entry->Command().c_str());
        break;
      case CCommandEntry::RunResult::TooManyArguments:
        std::fprintf(stderr, "cannot start %s with %zu arguments, at most %zu are passed: skipped\n",
                     entry->Command().c_str(), entry->Arguments().size(), CCommandEntry::kMaxArguments);
        break;
    }
  }
  if (window != nullptr) window->TakeFocusBack();
}
