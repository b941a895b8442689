#pragma once
// Carries out Program Manager's commands on a group store for one
// conversation, which has its own current group (the one CreateGroup or
// ShowGroup last named) and its own ReplaceItem position.
//
//   CreateGroup(name[, groupFile])        creates it when missing; makes it current
//   ShowGroup(name, showCommand[, common]) makes an existing group current
//   AddItem(command[, name[, iconPath[, iconIndex[, x, y[, defaultDir[, hotkey[, minimized]]]]]]])
//   ReplaceItem(name)                     deletes the item; the next AddItem takes its place
//   DeleteItem(name)                      deletes an item of the current group
//   DeleteGroup(name[, common])
//   ExitProgman()                         asks the server to end

#include <optional>
#include <string>
#include <string_view>

#include "platform/dde/progman_command.h"
#include "platform/dde/progman_store.h"

namespace platform::dde {

class ProgmanExecutor {
 public:
  explicit ProgmanExecutor(ProgmanGroupStore& store) : store_(store) {}

  // Runs the commands of text in order and stops at the first that fails.
  // The empty string when all ran, else why not. Commands before a failed
  // one keep their effect, as in Program Manager.
  std::string Execute(std::string_view text);
  bool ExitRequested() const { return exitRequested_; }

 private:
  std::string Run(const ProgmanCommand& command);
  std::string AddItem(const ProgmanCommand& command);
  ProgmanGroup* Current();
  void SaveOrRestore(ProgmanGroup& group, ProgmanGroup before);

  ProgmanGroupStore& store_;
  std::string currentGroup_;
  std::optional<std::size_t> replacePosition_;
  bool exitRequested_ = false;
};

}  // namespace platform::dde
