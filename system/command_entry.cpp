#include "system/command_entry.h"

#include "platform/process/process.h"

CCommandEntry::CCommandEntry(const ProfileSection& section) {
  for (const ProfileKey& key : section.Keys()) {
    const std::string value = key.FirstValue();
    if (ProfileNamesEqual(key.Name(), "arg")) {
      arguments_.push_back(value);
    } else if (ProfileNamesEqual(key.Name(), "Command")) {
      command_ = value;
    } else if (ProfileNamesEqual(key.Name(), "option")) {
      option_ = value;
    } else if (ProfileNamesEqual(key.Name(), "step")) {
      step_ = value;
    } else if (ProfileNamesEqual(key.Name(), "synchronous")) {
      synchronous_ = ProfileNamesEqual(value, "true");
    }
  }
}

CCommandEntry::RunResult CCommandEntry::RunCommand() const {
  if (arguments_.size() > kMaxArguments) return RunResult::TooManyArguments;
  return platform::RunProgramAndWait(command_, arguments_) ? RunResult::Ran : RunResult::NotStarted;
}
