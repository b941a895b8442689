#pragma once
// One program of the profile's "Execute" sections: the command to start and
// its argument vector, selected for a run by its option text ("0" the install
// run, "-1" the removal run, "-99" never).

#include <string>
#include <vector>

#include "profile/profile_tree.h"

class CCommandEntry {
 public:
  static constexpr const char* kNeverSelected = "-99";
  static constexpr const char* kInstallSelector = "0";
  static constexpr const char* kRemovalSelector = "-1";
  // The most arguments a command passes; a longer vector is refused whole
  // rather than cut, since a program given half its arguments does the wrong
  // thing.
  static constexpr std::size_t kMaxArguments = 24;

  enum class RunResult { Ran, NotStarted, TooManyArguments };

  // The keys of one "Execute" section (names ignoring case, the first value of
  // each, unknown keys ignored); every "arg" line adds one argument.
  explicit CCommandEntry(const ProfileSection& section);

  // Starts the program and waits for its end. Its exit status is not looked
  // at; a program that cannot start changes nothing.
  RunResult RunCommand() const;

  bool Enabled() const { return enabled_; }
  void Enable() { enabled_ = true; }
  const std::string& Option() const { return option_; }
  const std::string& Command() const { return command_; }
  const std::vector<std::string>& Arguments() const { return arguments_; }
  bool Synchronous() const { return synchronous_; }
  const std::string& Step() const { return step_; }

  void SetCommand(std::string command) { command_ = std::move(command); }
  void SetArguments(std::vector<std::string> arguments) { arguments_ = std::move(arguments); }

 private:
  bool enabled_ = false;
  std::string option_ = kNeverSelected;
  std::string command_;
  std::vector<std::string> arguments_;
  // Kept with the entry; every command is waited for at the one point of the
  // run where the commands run, whatever these say.
  bool synchronous_ = true;
  std::string step_ = "copy";
};
