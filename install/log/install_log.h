#pragma once
// Writing the install log. The log is written only through the private-profile
// writer, line by line, in the layout of the install tables file (the line
// formats are in install/log_lines.h).
//
// The walks over the destination and group tables (writing every entry after
// the copy) belong with those tables; they build these plain records and hand
// them to the writers below.

#include <span>
#include <string>
#include <string_view>

#include "install/log/log_lines.h"

namespace install_log {
inline constexpr const char* kDestinationsSection = "destinations";
inline constexpr const char* kGroupsSection = "groups";
inline constexpr const char* kTargetsSection = "targets";
inline constexpr const char* kProgramFolderSection = "PMGroup";
inline constexpr const char* kProgramFolderKey = "pmgroup";
inline constexpr const char* kRegistrySection = "Registry";
inline constexpr const char* kRegistryKeyValue = "x";  // the value of a created registry key's line
}  // namespace install_log

// One installed (or kept) file. Kept because the installed copy was newer:
// installed 0, replaced 0; replaced an older copy: 1, 1; new: 1, 0.
struct InstalledFileRecord {
  std::string group;            // the section
  std::string destinationPath;  // its name and extension are the key
  int destinationId = 0;
  bool installed = false;
  bool replaced = false;
};

struct DestinationRecord {
  int id = 0;
  std::string relativeName;
  int parentId = -1;
  std::string path;  // the resolved path
};

struct GroupRecord {
  std::string name;  // the key
  std::string title;
  std::string description;
  int minimumFlag = 0;
  int typicalFlag = 0;
  int customFlag = 0;
};

// Writes the file's line into its group's section; a second line for the same
// group and name replaces the first. False when nothing was written, errno
// set; the copy then takes the file back, since no removal would find it.
bool LogInstalledFile(const InstalledFileRecord& file, std::string_view logFile);

// Whether the file's group section already holds a line for its name.
bool IsLoggedFile(const std::string& group, std::string_view path, std::string_view logFile);
// Takes the file's line out of its group's section again. False with errno set
// when the log could not be written.
bool ForgetInstalledFile(const InstalledFileRecord& file, std::string_view logFile);

// Writes the "destinations" lines, skipping the negative (preset) ids, whose
// directories belong to the machine and are resolved anew by every run. False
// when a line failed; the others are still written.
bool WriteDestinationLines(std::span<const DestinationRecord> destinations, std::string_view logFile);
// Writes the "groups" lines, one per group.
bool WriteGroupLines(std::span<const GroupRecord> groups, std::string_view logFile);
