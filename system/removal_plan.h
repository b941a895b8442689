#pragma once
// What a removal run would do with an install log, worked out without changing
// anything: the files it deletes or keeps, the program items, the directories
// it tries, the registry keys and the removal commands, for "qmtool log show".
// It decides with the same rules as the removal run (logged_files.h), and a
// test holds the two together.
//
// A log cut short (a killed install) is read as far as it goes; what it lacks
// is said in the plan's problems.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "system/logged_files.h"

namespace removal_plan {
inline constexpr const char* kInstallLogName = "Qmw.log";          // in the Windows directory
inline constexpr const char* kProfileName = "cv_setup.ini";        // beside the removal program
inline constexpr const char* kSettingsFileName = "qmw2.ini";       // in the working directory
inline constexpr int kWorkingDirectory = 1;
// The removal reads the program folder's name into 50 bytes.
inline constexpr std::size_t kProgramFolderReadLength = 49;
}  // namespace removal_plan

// The machine's install log: "Qmw.log" in the Windows directory.
std::string MachineInstallLogPath();

struct RemovalInputs {
  std::string logFile;  // a Windows path
  // Empty: "cv_setup.ini" in destination 0's directory, where the removal
  // program finds it.
  std::string profileFile;
  // The directory a removal run is given with /D; empty: destination 0's.
  std::string sourceDirectory;
};

struct PlannedDestination {
  std::int16_t id = 0;
  std::string path;
};

struct PlannedFile {
  LoggedFile logged;
  std::string path;  // empty when the log does not name its destination
  LoggedFileFate fate = LoggedFileFate::KeepUnknownPlace;
  bool present = false;  // a file of that path is on disk now
  std::string programItem;  // the item removed with it, or empty
};

struct PlannedGroup {
  std::string name;
  bool hasSection = false;  // groups that were not installed have none
  std::vector<PlannedFile> files;
};

// A file the removal deletes besides the logged ones.
struct PlannedExtraFile {
  std::string what;  // "settings file", "install log"
  std::string path;
  bool present = false;
};

struct PlannedProgramItem {
  std::string itemName;  // the target's name
  std::string file;      // the logged file it starts
};

// A directory the removal tries to remove: one of the log's destinations 0 to
// 999. The machine's own directories (negative ids) and shared places (1000
// and above) are never tried, even when they end up empty.
struct PlannedDirectory {
  std::int16_t id = 0;
  std::string path;
  bool exists = false;
  // Whether nothing is left in it once the planned files are deleted and the
  // planned directories inside it removed; it is removed then.
  bool emptyAfter = false;
  std::vector<std::string> remaining;  // names that stay, sorted
};

// A key of the profile's "Registry" sections with option "-1".
struct PlannedMarkedKey {
  std::string keyPath;
  std::string deletedKey;  // the last component, deleted under its parent
  bool deletable = false;  // a known root and at least one key below it
};

// A "-1" command of the profile's "Execute" sections, with its macros put in.
struct PlannedCommand {
  std::string command;
  std::vector<std::string> arguments;
  std::vector<std::string> messages;  // what the substitution would show
};

struct RemovalPlan {
  std::string logFile;
  bool logFound = false;
  std::string programFolder;  // the "PMGroup" record
  std::vector<PlannedDestination> destinations;  // the log's, in id order
  std::vector<PlannedGroup> groups;              // the "groups" order
  std::vector<PlannedExtraFile> extraFiles;      // deleted after the logged files
  std::vector<PlannedProgramItem> programItems;
  std::vector<PlannedDirectory> directories;     // innermost first
  std::vector<std::string> loggedKeys;           // in deletion order: newest first
  std::string profileFile;
  bool profileFound = false;
  std::vector<PlannedMarkedKey> markedKeys;      // in profile order
  std::vector<PlannedCommand> commands;          // in profile order
  std::vector<std::string> problems;             // what the log or profile could not give
};

// Reads the log and the profile; changes nothing on the machine. A missing log
// gives logFound false and a plan from the profile alone (when one is named).
RemovalPlan PlanRemoval(const RemovalInputs& inputs);

// Every file the plan deletes, logged or not, as Windows paths.
std::vector<std::string> PlannedDeletions(const RemovalPlan& plan);
