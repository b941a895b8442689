#include "system/removal_plan.h"

#include <algorithm>
#include <map>
#include <set>
#include <string_view>

#include "install/errors/install_profile_exception.h"
#include "install/log/ini_item.h"
#include "install/log/ini_section_reader.h"
#include "install/log/install_log.h"
#include "install/tables/destination_table.h"
#include "install/tables/group_table.h"
#include "install/tables/table_lines.h"
#include "options/macro_substitution.h"
#include "options/macro_table.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/find.h"
#include "platform/machine/host_paths.h"
#include "platform/machine/system_info.h"
#include "platform/profile/private_profile.h"
#include "profile/profile_tree.h"
#include "profile/section_dispatch.h"
#include "system/command_list.h"
#include "system/destination_macros.h"
#include "system/registry_entry_list.h"
#include "system/target_table.h"

namespace {

// Sections of the log that are not a group's file lines.
constexpr const char* kTableSections[] = {
    install_log::kDestinationsSection, install_log::kGroupsSection, install_log::kTargetsSection,
    install_log::kProgramFolderSection, install_log::kRegistrySection, "diskettes",
};
constexpr std::size_t kTargetFields = 7;

class RecordedMessages final : public UserMessages {
 public:
  void ShowMessage(const std::string& text) override { texts.push_back(text); }
  std::vector<std::string> texts;
};

bool IsFile(const std::string& path) {
  const std::uint32_t attributes = platform::GetFileAttributes(path);
  return attributes != platform::kInvalidAttributes && (attributes & platform::kAttrDirectory) == 0;
}

bool IsDirectory(const std::string& path) {
  const std::uint32_t attributes = platform::GetFileAttributes(path);
  return attributes != platform::kInvalidAttributes && (attributes & platform::kAttrDirectory) != 0;
}

// The key under which two spellings of one Windows path meet.
std::string PathKey(std::string_view path) {
  while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.remove_suffix(1);
  return platform::FoldAsciiCase(path);
}

bool Contains(const std::vector<std::string>& names, std::string_view name) {
  return std::any_of(names.begin(), names.end(),
                     [&](const std::string& held) { return platform::EqualsIgnoreAsciiCase(held, name); });
}

// A target line as the install writes it: three numbers and four texts. The
// command may be empty (the target's file was not installed).
bool TargetLineReadable(std::string_view value) {
  for (std::size_t field = 0; field < 3; ++field) {
    if (!IsNumberText(FieldText(value, field))) return false;
  }
  const auto separators = static_cast<std::size_t>(std::count(value.begin(), value.end(), '|'));
  return separators + 1 >= kTargetFields;
}

std::string Quote(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Works out which planned directories end up empty, looking at what is on disk
// now and at what the plan deletes.
class DirectoryOutlook {
 public:
  DirectoryOutlook(const std::vector<std::string>& deletedFiles, const std::vector<PlannedDirectory>& directories) {
    for (const std::string& file : deletedFiles) deleted_.insert(PathKey(file));
    for (const PlannedDirectory& directory : directories) tried_.insert(PathKey(directory.path));
  }

  // The names that stay in directory; empty when it would be removed.
  const std::vector<std::string>& Remaining(const std::string& directory) {
    const std::string key = PathKey(directory);
    if (const auto known = remaining_.find(key); known != remaining_.end()) return known->second;
    std::vector<std::string>& remaining = remaining_[key];
    platform::FileFinder finder;
    for (bool more = finder.FindFirst(JoinDirectory(directory, "*.*")); more; more = finder.FindNext()) {
      const platform::FindData& entry = finder.Current();
      if (entry.name == "." || entry.name == "..") continue;
      const std::string path = JoinDirectory(directory, entry.name);
      const bool gone = (entry.attributes & platform::kAttrDirectory) != 0
                            ? tried_.count(PathKey(path)) != 0 && Remaining(path).empty()
                            : deleted_.count(PathKey(path)) != 0;
      if (!gone) remaining.push_back(entry.name);
    }
    // The host's directory order is no order at all; a preview should read the same twice.
    std::sort(remaining.begin(), remaining.end());
    return remaining;
  }

 private:
  std::set<std::string> deleted_;
  std::set<std::string> tried_;
  // std::map keeps references to its values valid while it grows.
  std::map<std::string, std::vector<std::string>> remaining_;
};

std::size_t Depth(std::string_view path) {
  const std::string key = PathKey(path);
  return static_cast<std::size_t>(std::count(key.begin(), key.end(), '\\'));
}

struct LogTables {
  CDestinationTable destinations;
  CGroupTable groups;
  CTargetTable targets;
};

class Planner {
 public:
  Planner(const RemovalInputs& inputs, RemovalPlan& plan) : inputs_(inputs), plan_(plan) {}

  void Run() {
    plan_.logFile = inputs_.logFile;
    plan_.logFound = IsFile(inputs_.logFile);
    if (plan_.logFound) {
      ReadLog();
    } else {
      plan_.problems.push_back("the install log " + inputs_.logFile + " does not exist");
    }
    AddPresets();
    if (plan_.logFound) {
      PlanFiles();
      PlanExtraFiles();
      PlanDirectories();
      PlanLoggedKeys();
    }
    ReadProfile();
  }

 private:
  void ReadLog() {
    const std::string& log = inputs_.logFile;
    sections_ = SectionNames(log);
    CIniItem folder(install_log::kProgramFolderSection, install_log::kProgramFolderKey, "", log);
    if (folder.Read()) {
      plan_.programFolder = folder.Value();
      if (plan_.programFolder.size() > removal_plan::kProgramFolderReadLength) {
        plan_.problems.push_back("the program folder's name is longer than " +
                                 std::to_string(removal_plan::kProgramFolderReadLength) +
                                 " characters: the removal looks for its items under the name cut there");
      }
    } else {
      plan_.problems.push_back("no program folder (section \"PMGroup\"): the items are looked for without one");
    }

    try {
      tables_.destinations.Load(log);
    } catch (const CInstallProfileException&) {
      plan_.problems.push_back("no \"destinations\" section: no logged file can be found");
    }
    for (const auto& [id, destination] : tables_.destinations.Entries()) {
      plan_.destinations.push_back({id, destination.path});
    }

    tables_.groups.Load(log);
    if (tables_.groups.Size() == 0) plan_.problems.push_back("no \"groups\" section: no logged file is removed");

    tables_.targets.LoadTargets(log);
    for (const TableLine& line : ReadTableLines(install_log::kTargetsSection, log)) {
      if (!TargetLineReadable(line.value)) {
        plan_.problems.push_back("target " + Quote(line.key) + " does not read as a program item: " +
                                 Quote(line.value));
      }
    }
  }

  // The machine's directories under their fixed ids, as a removal run has them;
  // the log names only its own.
  void AddPresets() {
    const std::string installDirectory = tables_.destinations.PathOf(CDestinationTable::kInstallDirectory);
    sourceDirectory_ = inputs_.sourceDirectory.empty() ? installDirectory : inputs_.sourceDirectory;
    const PresetDirectories presets = MachinePresetDirectories(sourceDirectory_);
    const std::pair<std::int16_t, const std::string*> fixed[] = {
        {CDestinationTable::kWindowsDirectory, &presets.windows},
        {CDestinationTable::kSystemDirectory, &presets.system},
        {CDestinationTable::kTemporaryDirectory, &presets.temporary},
        {CDestinationTable::kSourceDirectory, &presets.source},
    };
    for (const auto& [id, path] : fixed) {
      if (tables_.destinations.Find(id) == nullptr) tables_.destinations.SetPath(id, *path);
    }
  }

  void PlanFiles() {
    for (const auto& group : tables_.groups.Groups()) {
      PlannedGroup planned;
      planned.name = group->name;
      planned.hasSection = Contains(sections_, group->name);
      for (LoggedFile& logged : ReadLoggedFiles(group->name, inputs_.logFile)) {
        planned.files.push_back(PlanFile(std::move(logged)));
      }
      plan_.groups.push_back(std::move(planned));
    }
    for (const std::string& section : sections_) {
      if (IsTableSection(section) || tables_.groups.Find(section) != nullptr) continue;
      const std::size_t lines = ReadTableLines(section, inputs_.logFile).size();
      plan_.problems.push_back("section " + Quote(section) + " holds " + std::to_string(lines) +
                               " line(s) but no group of \"groups\" names it: the removal leaves its files");
    }
  }

  static bool IsTableSection(std::string_view section) {
    return std::any_of(std::begin(kTableSections), std::end(kTableSections),
                       [&](const char* name) { return platform::EqualsIgnoreAsciiCase(name, section); });
  }

  PlannedFile PlanFile(LoggedFile logged) {
    PlannedFile file;
    if (!IsNumberText(FieldText(logged.value, 0))) {
      plan_.problems.push_back("file " + Quote(logged.name) + " of group " + Quote(logged.group) + ": the value " +
                               Quote(logged.value) + " has no destination number and reads as destination " +
                               std::to_string(logged.destinationId));
    }
    file.path = LoggedFilePath(logged, tables_.destinations);
    file.fate = FateOf(logged, tables_.destinations);
    file.present = !file.path.empty() && IsFile(file.path);
    if (const CTarget* target = ProgramItemOf(logged, file.path, tables_.targets)) {
      file.programItem = target->name;
      plan_.programItems.push_back({target->name, file.path});
    }
    file.logged = std::move(logged);
    return file;
  }

  void PlanExtraFiles() {
    const std::string working = tables_.destinations.PathOf(removal_plan::kWorkingDirectory);
    if (working.empty()) {
      plan_.problems.push_back("no working directory (destination 1): the settings file cannot be found");
    } else {
      const std::string settings = JoinDirectory(working, removal_plan::kSettingsFileName);
      plan_.extraFiles.push_back({"settings file", settings, IsFile(settings)});
    }
    plan_.extraFiles.push_back({"install log", inputs_.logFile, true});
  }

  // The log's own directories only: the machine's (negative ids) and shared
  // places (1000 and above) stay even when they end up empty.
  void PlanDirectories() {
    for (const PlannedDestination& destination : plan_.destinations) {
      if (!RemovalTriesDirectory(destination.id) || destination.path.empty()) continue;
      PlannedDirectory directory;
      directory.id = destination.id;
      directory.path = destination.path;
      directory.exists = IsDirectory(destination.path);
      plan_.directories.push_back(std::move(directory));
    }
    std::stable_sort(plan_.directories.begin(), plan_.directories.end(),
                     [](const PlannedDirectory& a, const PlannedDirectory& b) { return Depth(a.path) > Depth(b.path); });
    DirectoryOutlook outlook(PlannedDeletions(plan_), plan_.directories);
    for (PlannedDirectory& directory : plan_.directories) {
      if (!directory.exists) continue;
      directory.remaining = outlook.Remaining(directory.path);
      directory.emptyAfter = directory.remaining.empty();
    }
  }

  void PlanLoggedKeys() {
    CIniSectionReader reader(install_log::kRegistrySection, inputs_.logFile);
    CIniItem item;
    for (bool more = reader.First(item); more; more = reader.Next(item)) plan_.loggedKeys.push_back(item.Key());
    std::reverse(plan_.loggedKeys.begin(), plan_.loggedKeys.end());
  }

  void ReadProfile() {
    const std::string installDirectory = tables_.destinations.PathOf(CDestinationTable::kInstallDirectory);
    if (!inputs_.profileFile.empty()) {
      plan_.profileFile = inputs_.profileFile;
    } else if (!installDirectory.empty()) {
      plan_.profileFile = JoinDirectory(installDirectory, removal_plan::kProfileName);
    } else {
      plan_.problems.push_back("no install directory (destination 0): the profile cannot be found");
      return;
    }
    plan_.profileFound = IsFile(plan_.profileFile);
    if (!plan_.profileFound) {
      plan_.problems.push_back("the profile " + plan_.profileFile +
                               " does not exist: no marked registry key and no removal command");
      return;
    }
    ProfileFile profile(plan_.profileFile);
    profile.Load();
    CRegistryEntryList entries;
    CCommandList commands;
    const SectionReader readers[] = {
        {"Registry", [&](const ProfileSection& section) { entries.AddRegistryEntry(section); }},
        {"Execute", [&](const ProfileSection& section) { commands.AddCommandEntry(section); }},
    };
    DispatchSections(profile, readers);
    for (const auto& entry : entries.Entries()) {
      if (entry->Option() != CRegistryEntry::kDeleteAtRemoval) continue;
      const std::vector<std::string>& components = entry->Components();
      plan_.markedKeys.push_back({entry->KeyPath(), components.empty() ? std::string() : components.back(),
                                  entry->RootKey() != 0 && components.size() >= 2});
    }
    PlanCommands(commands);
  }

  // The commands as the removal run reads them; the messages the macros give
  // are kept with the command they come from.
  void PlanCommands(const CCommandList& commands) {
    const MacroTable macros = BuildDestinationMacros(tables_.destinations, sourceDirectory_);
    for (const auto& entry : commands.Entries()) {
      if (entry->Option() != CCommandEntry::kRemovalSelector) continue;
      RecordedMessages messages;
      PlannedCommand planned;
      planned.command = Substitute(entry->Command(), macros, messages);
      for (const std::string& argument : entry->Arguments()) {
        planned.arguments.push_back(Substitute(argument, macros, messages));
      }
      planned.messages = std::move(messages.texts);
      if (entry->Arguments().size() > CCommandEntry::kMaxArguments) {
        plan_.problems.push_back("command " + Quote(entry->Command()) + " has " +
                                 std::to_string(entry->Arguments().size()) + " arguments, at most " +
                                 std::to_string(CCommandEntry::kMaxArguments) + " are passed: it is not run");
      }
      plan_.commands.push_back(std::move(planned));
    }
  }

  const RemovalInputs& inputs_;
  RemovalPlan& plan_;
  LogTables tables_;
  std::vector<std::string> sections_;
  std::string sourceDirectory_;
};

}  // namespace

std::string MachineInstallLogPath() {
  return JoinDirectory(platform::GetWindowsDirectory(), removal_plan::kInstallLogName);
}

RemovalPlan PlanRemoval(const RemovalInputs& inputs) {
  RemovalPlan plan;
  Planner(inputs, plan).Run();
  return plan;
}

std::vector<std::string> PlannedDeletions(const RemovalPlan& plan) {
  std::vector<std::string> paths;
  for (const PlannedGroup& group : plan.groups) {
    for (const PlannedFile& file : group.files) {
      if (file.fate == LoggedFileFate::Delete) paths.push_back(file.path);
    }
  }
  for (const PlannedExtraFile& file : plan.extraFiles) paths.push_back(file.path);
  return paths;
}
