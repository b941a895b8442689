// qmtool log: what an install log holds and what a removal run would do with
// it, without doing any of it.

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/fs/path_map.h"
#include "platform/machine/machine.h"
#include "system/removal_plan.h"
#include "tools/qmtool/display_text.h"
#include "tools/qmtool/verbs.h"

namespace qmtool {
namespace {

constexpr const char* kUsage =
    "Usage: qmtool log show [LOG] [--json] [--profile FILE] [--root DIR]\n"
    "\n"
    "show  reads an install log and prints what it holds and what a removal run\n"
    "      would do with it, changing nothing:\n"
    "        - the program folder and the destinations;\n"
    "        - every logged file by group, with its path and whether the removal\n"
    "          deletes it or keeps it (kept: the install found it newer; shared\n"
    "          place: destination 1000 or above; unknown place: the log does not\n"
    "          name its destination), and the settings file and the log itself;\n"
    "        - the program items removed with their files;\n"
    "        - the directories it tries to remove (the log's destinations below\n"
    "          1000), innermost first, and what would keep each one;\n"
    "        - the registry keys it deletes, logged ones newest first, then the\n"
    "          ones the profile marks (option -1);\n"
    "        - the profile's removal commands (option -1) with macros put in;\n"
    "        - what the log or the profile could not give (a killed install\n"
    "          leaves a log cut short).\n"
    "      --json prints the same as one JSON object.\n"
    "\n"
    "LOG is the machine's install log (Qmw.log in the Windows directory) unless\n"
    "given; FILE is the profile, cv_setup.ini in the install directory unless\n"
    "given. Both are host paths or Windows paths (C:\\...) of the machine: --root,\n"
    "else QMSETUP_SYSTEM, else $XDG_DATA_HOME/qmsetup/system. The machine must\n"
    "exist already.\n"
    "\n"
    "Exit status: 0 the log was read (even partly), 1 no machine or no log.\n";

bool LooksLikeWindowsPath(const std::string& name) {
  return name.size() >= 3 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':' &&
         (name[2] == '\\' || name[2] == '/');
}

// The Windows path of a name given on the command line; empty when it is none.
std::string WindowsPathOf(const std::string& name) {
  if (!LooksLikeWindowsPath(name)) return platform::MapToWindows(std::filesystem::absolute(name).lexically_normal());
  std::string full;
  return platform::GetFullPathName(name, full) ? full : std::string();
}

const char* ActionText(LoggedFileFate fate) { return fate == LoggedFileFate::Delete ? "delete" : "keep"; }

// Names and arguments in double quotes so that blanks show; paths keep their
// single backslashes (--json has the exact texts).
std::string JoinQuoted(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "\"" : " \"") + ToUtf8(text) + "\"";
  return joined;
}

void PrintFiles(const RemovalPlan& plan) {
  std::printf("\nFiles\n");
  if (plan.groups.empty()) std::printf("  (no groups)\n");
  for (const PlannedGroup& group : plan.groups) {
    std::printf("  group %s%s\n", Quoted(group.name).c_str(),
                group.hasSection ? "" : ": no section, no files logged");
    for (const PlannedFile& file : group.files) {
      const std::string where = file.path.empty()
                                    ? ToUtf8(file.logged.name) + " (destination " +
                                          std::to_string(file.logged.destinationId) + " not in the log)"
                                    : ToUtf8(file.path);
      std::printf("    %-6s  %s  [%s]%s\n", ActionText(file.fate), where.c_str(), FateReason(file.fate),
                  file.path.empty() || file.present ? "" : " (not on disk)");
    }
  }
  std::printf("  also\n");
  for (const PlannedExtraFile& file : plan.extraFiles) {
    std::printf("    delete  %s  [%s]%s\n", ToUtf8(file.path).c_str(), file.what.c_str(),
                file.present ? "" : " (not on disk)");
  }
}

void PrintText(const RemovalPlan& plan) {
  std::printf("Install log     %s\n", ToUtf8(plan.logFile).c_str());
  std::printf("Program folder  %s\n", Quoted(plan.programFolder).c_str());
  std::printf("Destinations\n");
  if (plan.destinations.empty()) std::printf("  (none)\n");
  for (const PlannedDestination& destination : plan.destinations) {
    std::printf("  %5d  %s\n", destination.id, ToUtf8(destination.path).c_str());
  }

  PrintFiles(plan);

  std::printf("\nProgram items removed from %s\n", Quoted(plan.programFolder).c_str());
  if (plan.programItems.empty()) std::printf("  (none)\n");
  for (const PlannedProgramItem& item : plan.programItems) {
    std::printf("  %s  for %s\n", Quoted(item.itemName).c_str(), ToUtf8(item.file).c_str());
  }

  std::printf("\nDirectories tried, innermost first\n");
  if (plan.directories.empty()) std::printf("  (none)\n");
  for (const PlannedDirectory& directory : plan.directories) {
    std::string outcome;
    if (!directory.exists) {
      outcome = "not on disk";
    } else if (directory.emptyAfter) {
      outcome = "removed: empty after the files";
    } else {
      outcome = "stays: " + JoinQuoted(directory.remaining);
    }
    std::printf("  %5d  %s  %s\n", directory.id, ToUtf8(directory.path).c_str(), outcome.c_str());
  }

  std::printf("\nRegistry keys deleted, in this order\n");
  if (plan.loggedKeys.empty() && plan.markedKeys.empty()) std::printf("  (none)\n");
  for (const std::string& key : plan.loggedKeys) std::printf("  logged  %s\n", ToUtf8(key).c_str());
  for (const PlannedMarkedKey& key : plan.markedKeys) {
    std::printf("  marked  %s  (deletes %s%s)\n", ToUtf8(key.keyPath).c_str(), Quoted(key.deletedKey).c_str(),
                key.deletable ? "" : "; fails: no known root with a key below it");
  }

  std::printf("\nRemoval commands of the profile %s%s\n", ToUtf8(plan.profileFile).c_str(),
              plan.profileFound ? "" : " (not found)");
  if (plan.commands.empty()) std::printf("  (none)\n");
  for (const PlannedCommand& command : plan.commands) {
    std::printf("  %s\n    argv: %s\n", ToUtf8(command.command).c_str(), JoinQuoted(command.arguments).c_str());
    for (const std::string& message : command.messages) std::printf("    message: %s\n", ToUtf8(message).c_str());
  }

  if (!plan.problems.empty()) {
    std::printf("\nWhat the log and the profile do not tell\n");
    for (const std::string& problem : plan.problems) std::printf("  - %s\n", ToUtf8(problem).c_str());
  }
}

nlohmann::ordered_json Utf8Array(const std::vector<std::string>& texts) {
  nlohmann::ordered_json array = nlohmann::ordered_json::array();
  for (const std::string& text : texts) array.push_back(ToUtf8(text));
  return array;
}

nlohmann::ordered_json PlanJson(const RemovalPlan& plan) {
  using Json = nlohmann::ordered_json;
  Json doc;
  doc["log"] = ToUtf8(plan.logFile);
  doc["programFolder"] = ToUtf8(plan.programFolder);
  Json& destinations = doc["destinations"] = Json::array();
  for (const PlannedDestination& destination : plan.destinations) {
    destinations.push_back({{"id", destination.id}, {"path", ToUtf8(destination.path)}});
  }
  Json& groups = doc["groups"] = Json::array();
  for (const PlannedGroup& group : plan.groups) {
    Json files = Json::array();
    for (const PlannedFile& file : group.files) {
      files.push_back({{"name", ToUtf8(file.logged.name)},
                       {"value", ToUtf8(file.logged.value)},
                       {"destination", file.logged.destinationId},
                       {"path", file.path.empty() ? Json() : Json(ToUtf8(file.path))},
                       {"action", ActionText(file.fate)},
                       {"reason", FateReason(file.fate)},
                       {"present", file.present},
                       {"programItem", file.programItem.empty() ? Json() : Json(ToUtf8(file.programItem))}});
    }
    groups.push_back({{"name", ToUtf8(group.name)}, {"section", group.hasSection}, {"files", std::move(files)}});
  }
  Json& extra = doc["alsoDeleted"] = Json::array();
  for (const PlannedExtraFile& file : plan.extraFiles) {
    extra.push_back({{"what", file.what}, {"path", ToUtf8(file.path)}, {"present", file.present}});
  }
  Json& items = doc["programItems"] = Json::array();
  for (const PlannedProgramItem& item : plan.programItems) {
    items.push_back({{"name", ToUtf8(item.itemName)}, {"folder", ToUtf8(plan.programFolder)}, {"file", ToUtf8(item.file)}});
  }
  Json& directories = doc["directories"] = Json::array();
  for (const PlannedDirectory& directory : plan.directories) {
    directories.push_back({{"id", directory.id},
                           {"path", ToUtf8(directory.path)},
                           {"exists", directory.exists},
                           {"emptyAfter", directory.emptyAfter},
                           {"remaining", Utf8Array(directory.remaining)}});
  }
  Json& keys = doc["registryKeys"] = Json::object();
  keys["logged"] = Utf8Array(plan.loggedKeys);
  Json& marked = keys["marked"] = Json::array();
  for (const PlannedMarkedKey& key : plan.markedKeys) {
    marked.push_back(
        {{"key", ToUtf8(key.keyPath)}, {"deletes", ToUtf8(key.deletedKey)}, {"deletable", key.deletable}});
  }
  doc["profile"] = {{"path", ToUtf8(plan.profileFile)}, {"found", plan.profileFound}};
  Json& commands = doc["commands"] = Json::array();
  for (const PlannedCommand& command : plan.commands) {
    commands.push_back({{"command", ToUtf8(command.command)},
                        {"arguments", Utf8Array(command.arguments)},
                        {"messages", Utf8Array(command.messages)}});
  }
  doc["problems"] = Utf8Array(plan.problems);
  return doc;
}

int Show(Arguments& args) {
  const bool json = args.TakeFlag("--json");
  const std::optional<std::string> profile = args.TakeOption("--profile");
  const std::optional<std::string> rootOption = args.TakeOption("--root");
  const std::optional<std::string> log = args.TakePositional();
  args.ExpectEnd();

  // A preview that made the machine it was asked about would change something.
  const std::filesystem::path root =
      rootOption ? std::filesystem::absolute(*rootOption) : platform::DefaultSystemRoot();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(root / "system.ini", ec)) {
    std::fprintf(stderr, "qmtool log show: no machine in %s ('qmtool system init' makes one)\n", root.c_str());
    return kExitFailure;
  }
  platform::UseMachine(root);

  RemovalInputs inputs;
  inputs.logFile = log ? WindowsPathOf(*log) : MachineInstallLogPath();
  if (inputs.logFile.empty()) {
    std::fprintf(stderr, "qmtool log show: '%s' is not a path on this machine\n", log->c_str());
    return kExitFailure;
  }
  if (profile) {
    inputs.profileFile = WindowsPathOf(*profile);
    if (inputs.profileFile.empty()) {
      std::fprintf(stderr, "qmtool log show: '%s' is not a path on this machine\n", profile->c_str());
      return kExitFailure;
    }
  }

  const RemovalPlan plan = PlanRemoval(inputs);
  if (!plan.logFound) {
    std::fprintf(stderr, "qmtool log show: no install log at %s\n", ToUtf8(inputs.logFile).c_str());
    return kExitFailure;
  }
  if (json) {
    std::printf("%s\n", PlanJson(plan).dump(2, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
  } else {
    PrintText(plan);
  }
  return kExitOk;
}

}  // namespace

int RunLogVerb(Arguments& args) {
  if (const auto answered = AnswerHelpOrVersion(args, "log", kUsage)) return *answered;
  const std::optional<std::string> action = args.TakePositional();
  if (!action) throw UsageError("log needs an action: show");
  if (*action != "show") throw UsageError("unknown action '" + *action + "' (show)");
  return Show(args);
}

}  // namespace qmtool
