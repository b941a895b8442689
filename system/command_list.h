#pragma once
// The command list: one entry per "Execute" section of the setup profile, in
// profile order. A run enables the entries of its selector, puts the macros
// into their command lines and runs them one after the other, each waited for.
// Nothing here is reported to the user: a program that cannot start is skipped.

#include <memory>
#include <string_view>
#include <vector>

#include "options/macro_table.h"
#include "options/user_messages.h"
#include "system/command_entry.h"

// The window the setup gives the focus back to once the programs have run.
class FocusReturn {
 public:
  virtual ~FocusReturn() = default;
  virtual void TakeFocusBack() = 0;
};

class CCommandList {
 public:
  // A new entry with the section's keys, at the end of the list.
  void AddCommandEntry(const ProfileSection& section);

  // Enables every entry whose option is exactly the selector; the others keep
  // their flag.
  void EnableCommands(std::string_view selector);

  // Puts the macros into every entry's command and arguments.
  void SubstituteCommands(const MacroTable& macros, UserMessages& messages);

  // Runs every enabled entry in list order, then gives window the focus (when
  // there is one). A command that cannot run is noted on stderr, for whoever
  // watches the run, and the next one runs.
  void RunCommands(FocusReturn* window);

  const std::vector<std::unique_ptr<CCommandEntry>>& Entries() const { return entries_; }

 private:
  std::vector<std::unique_ptr<CCommandEntry>> entries_;
};
