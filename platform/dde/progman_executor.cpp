#include "platform/dde/progman_executor.h"

#include <charconv>

#include "platform/machine/host_paths.h"

namespace platform::dde {
namespace {

// An empty or absent argument gives fallback; text that is not a number gives nullopt.
std::optional<int> NumberArg(const ProgmanCommand& command, std::size_t index, int fallback) {
  if (index >= command.args.size() || command.args[index].empty()) return fallback;
  const std::string& text = command.args[index];
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string Arg(const ProgmanCommand& command, std::size_t index) {
  return index < command.args.size() ? command.args[index] : std::string();
}

// "C:\QM\QM.EXE /U" names the item "QM".
std::string NameFromCommandLine(const std::string& commandLine) {
  std::string program = commandLine.substr(0, commandLine.find(' '));
  const auto slash = program.find_last_of("\\/:");
  if (slash != std::string::npos) program.erase(0, slash + 1);
  const auto dot = program.rfind('.');
  if (dot != std::string::npos && dot > 0) program.erase(dot);
  return program;
}

bool Is(const ProgmanCommand& command, std::string_view name) { return EqualsIgnoreAsciiCase(command.name, name); }

}  // namespace

std::string ProgmanExecutor::Execute(std::string_view text) {
  std::vector<ProgmanCommand> commands;
  try {
    commands = ParseProgmanCommands(text);
  } catch (const ProgmanCommandError& e) {
    return std::string("malformed command: ") + e.what();
  }
  for (const ProgmanCommand& command : commands) {
    std::string error = Run(command);
    if (!error.empty()) return command.name + ": " + error;
  }
  return {};
}

void ProgmanExecutor::SaveOrRestore(ProgmanGroup& group, ProgmanGroup before) {
  try {
    store_.Save(group);
  } catch (...) {
    // A change that did not reach the file must not turn up with a later one.
    group = std::move(before);
    throw;
  }
}

ProgmanGroup* ProgmanExecutor::Current() { return currentGroup_.empty() ? nullptr : store_.Find(currentGroup_); }

std::string ProgmanExecutor::Run(const ProgmanCommand& command) {
  const std::size_t count = command.args.size();
  if (Is(command, "CreateGroup")) {
    if (count < 1 || count > 2 || command.args[0].empty()) return "needs a group name";
    currentGroup_ = store_.Create(command.args[0]).name;
    replacePosition_.reset();
    return {};
  }
  if (Is(command, "ShowGroup")) {
    if (count < 2 || count > 3 || !NumberArg(command, 1, 0)) return "needs a group name and a show command";
    ProgmanGroup* group = store_.Find(command.args[0]);
    if (!group) return "no such group";
    currentGroup_ = group->name;
    replacePosition_.reset();
    return {};
  }
  if (Is(command, "AddItem")) return AddItem(command);
  if (Is(command, "ReplaceItem") || Is(command, "DeleteItem")) {
    if (count != 1) return "needs an item name";
    ProgmanGroup* group = Current();
    if (!group) return "no current group";
    ProgmanItem* item = group->FindItem(command.args[0]);
    if (!item) return "no such item";
    const auto position = static_cast<std::size_t>(item - group->items.data());
    ProgmanGroup before = *group;
    group->items.erase(group->items.begin() + static_cast<std::ptrdiff_t>(position));
    SaveOrRestore(*group, std::move(before));
    if (Is(command, "ReplaceItem")) replacePosition_ = position;
    return {};
  }
  if (Is(command, "DeleteGroup")) {
    if (count < 1 || count > 2) return "needs a group name";
    if (!store_.Delete(command.args[0])) return "no such group";
    if (EqualsIgnoreAsciiCase(currentGroup_, command.args[0])) currentGroup_.clear();
    return {};
  }
  if (Is(command, "ExitProgman")) {
    exitRequested_ = true;
    return {};
  }
  return "unknown command";
}

std::string ProgmanExecutor::AddItem(const ProgmanCommand& command) {
  if (command.args.empty() || command.args.size() > 10 || command.args[0].empty()) return "needs a command line";
  ProgmanGroup* group = Current();
  if (!group) return "no current group";
  const std::optional<int> iconIndex = NumberArg(command, 3, 0);
  const std::optional<int> x = NumberArg(command, 4, -1);
  const std::optional<int> y = NumberArg(command, 5, -1);
  const std::optional<int> hotkey = NumberArg(command, 7, 0);
  const std::optional<int> minimized = NumberArg(command, 8, 0);
  if (!iconIndex || !x || !y || !hotkey || !minimized) return "a numeric argument is not a number";

  ProgmanItem item;
  item.command = command.args[0];
  item.name = Arg(command, 1).empty() ? NameFromCommandLine(item.command) : Arg(command, 1);
  item.iconPath = Arg(command, 2).empty() ? item.command : Arg(command, 2);
  item.iconIndex = *iconIndex;
  item.defaultDir = Arg(command, 6);
  item.hotkey = *hotkey < 0 ? 0 : *hotkey;
  item.minimized = *minimized != 0;

  std::size_t position = group->items.size();
  if (replacePosition_ && *replacePosition_ < position) position = *replacePosition_;
  replacePosition_.reset();
  ProgmanGroup before = *group;
  group->items.insert(group->items.begin() + static_cast<std::ptrdiff_t>(position), std::move(item));
  SaveOrRestore(*group, std::move(before));
  return {};
}

}  // namespace platform::dde
