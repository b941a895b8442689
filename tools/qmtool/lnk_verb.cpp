// qmtool lnk: shell link (.lnk) files as a shell would read them.

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/core/text_encoding.h"
#include "platform/machine/machine.h"
#include "platform/shelllink/shell_link.h"
#include "tools/qmtool/verbs.h"

namespace qmtool {
namespace {

constexpr const char* kUsage =
    "Usage: qmtool lnk show FILE [--json] [--root DIR]\n"
    "\n"
    "show  prints what a shell link holds: name, target, arguments, working\n"
    "      directory, icon location and index, hot key and show command, one\n"
    "      \"Field: value\" line each, or one JSON object with --json.\n"
    "\n"
    "FILE is a host path, or a Windows path (\"C:\\...\") of the emulated machine:\n"
    "--root, else QMSETUP_SYSTEM, else $XDG_DATA_HOME/qmsetup/system.\n";

bool IsWindowsPath(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// The link's texts are in the ANSI code page; the terminal and JSON want UTF-8.
std::string Utf8(const std::string& ansi) { return platform::Windows1252ToUtf8(ansi); }

std::string KeyName(unsigned key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x6F);
  char text[16];
  std::snprintf(text, sizeof text, "key 0x%02X", key);
  return text;
}

// "0x0651 (Ctrl+Alt+Q)", or "0 (none)".
std::string HotKeyText(uint16_t hotKey) {
  if (hotKey == 0) return "0 (none)";
  std::string keys;
  if (hotKey & platform::kHotKeyControl) keys += "Ctrl+";
  if (hotKey & platform::kHotKeyAlt) keys += "Alt+";
  if (hotKey & platform::kHotKeyShift) keys += "Shift+";
  keys += KeyName(hotKey & 0xFF);
  char text[16];
  std::snprintf(text, sizeof text, "0x%04X", hotKey);
  return std::string(text) + " (" + keys + ")";
}

std::string ShowCommandText(uint32_t showCommand) {
  switch (showCommand) {
    case platform::kShowMaximized: return "3 (maximized)";
    case platform::kShowMinNoActive: return "7 (minimized)";
    default: return std::to_string(showCommand) + " (normal)";
  }
}

void PrintText(const platform::ShellLink& link) {
  std::printf("Name: %s\n", Utf8(link.name).c_str());
  std::printf("Target: %s\n", Utf8(link.target).c_str());
  std::printf("Arguments: %s\n", Utf8(link.arguments).c_str());
  std::printf("Working directory: %s\n", Utf8(link.workingDirectory).c_str());
  std::printf("Icon location: %s\n", Utf8(link.iconLocation).c_str());
  std::printf("Icon index: %d\n", link.iconIndex);
  std::printf("Hot key: %s\n", HotKeyText(link.hotKey).c_str());
  std::printf("Show command: %s\n", ShowCommandText(link.showCommand).c_str());
}

void PrintJson(const platform::ShellLink& link) {
  const nlohmann::ordered_json json = {
      {"name", Utf8(link.name)},
      {"target", Utf8(link.target)},
      {"arguments", Utf8(link.arguments)},
      {"workingDirectory", Utf8(link.workingDirectory)},
      {"iconLocation", Utf8(link.iconLocation)},
      {"iconIndex", link.iconIndex},
      {"hotkey", link.hotKey},
      {"showCommand", link.showCommand},
  };
  std::printf("%s\n", json.dump(2).c_str());
}

int Show(Arguments& args) {
  const bool json = args.TakeFlag("--json");
  const std::optional<std::string> root = args.TakeOption("--root");
  const std::optional<std::string> file = args.TakePositional();
  if (!file) throw UsageError("show needs a link file");
  args.ExpectEnd();
  platform::ShellLink link;
  if (IsWindowsPath(*file)) {
    platform::UseMachine(root ? std::filesystem::absolute(*root) : platform::DefaultSystemRoot());
    link = platform::ReadShellLinkOnMachine(*file);
  } else {
    link = platform::ReadShellLink(*file);
  }
  if (json) {
    PrintJson(link);
  } else {
    PrintText(link);
  }
  return kExitOk;
}

}  // namespace

int RunLnkVerb(Arguments& args) {
  if (const auto answered = AnswerHelpOrVersion(args, "lnk", kUsage)) return *answered;
  const std::optional<std::string> action = args.TakePositional();
  if (!action) throw UsageError("lnk needs an action: show");
  if (*action != "show") throw UsageError("unknown action '" + *action + "' (show)");
  try {
    return Show(args);
  } catch (const platform::Exception& e) {
    std::fprintf(stderr, "qmtool lnk show: %s\n", e.what());
    return kExitFailure;
  } catch (const platform::MachineError& e) {
    std::fprintf(stderr, "qmtool lnk show: %s\n", e.what());
    return kExitFailure;
  }
}

}  // namespace qmtool
