#pragma once
// The installable groups: every source file belongs to one, and the setup type
// or the custom options page decide which groups are installed.
//
// Lines of the "groups" section: key = group name, value =
// "title|description|minimum|typical|custom", the flags 0 or 1.
//
// Group names are INI keys, so the table finds them ignoring letter case, as
// the private-profile functions find the group's own section. It keeps the
// groups in the order they were added (the file's order), which is also the
// order in which they are saved and their sections are read.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "install/log/install_log.h"

// Names of groups the setup itself refers to.
namespace group_name {
inline constexpr const char* kMain = "Main";
inline constexpr const char* kProgram = "program";
inline constexpr const char* kPremade = "premade";
inline constexpr const char* kInternationalTemplates = "Inttpls";
inline constexpr const char* kUsTemplates = "ustpls";
inline constexpr const char* kFonts = "Fonts";
inline constexpr const char* kArt600 = "art600";
inline constexpr const char* kArt2000 = "art2000";
inline constexpr const char* kNtDlls = "NTDlls";
inline constexpr const char* kInstallPrograms = "Install Programs";
}  // namespace group_name

// The template group of the user's country.
const char* TemplateGroupName(bool international);

enum class SetupType : int { Minimum = 1, Typical = 2, Custom = 3 };

struct CGroup {
  std::string name;
  std::string title;
  std::string description;
  int install = 0;  // 1: the group's files are installed
  int reserved = 0;
  // The sum of the sizes of the group's sources in the tables file, worked
  // out on first use (GroupSpace, install/space_survey.h) and kept.
  std::optional<std::int32_t> space;
  int minimumFlag = 0;
  int typicalFlag = 0;
  int customFlag = 0;  // offered, and ticked at first, on the custom options page
  int ticked = 0;      // the check mark on the custom options page

  bool IsInstalled() const { return install == 1; }
};

class CGroupTable {
 public:
  // Adds the lines of the "groups" section of file. A missing section adds
  // nothing: a table without groups installs nothing, which is no fault.
  void Load(std::string_view file);

  // Adds a group; one of the same name (ignoring case) is replaced in its place,
  // keeping its address.
  CGroup& Add(std::unique_ptr<CGroup> group);

  CGroup* Find(std::string_view name);
  const CGroup* Find(std::string_view name) const;
  // Whether the named group is there and to be installed.
  bool IsInstalled(std::string_view name) const;

  // The install field of every group from its minimum flag (Minimum) or typical
  // flag (Typical). Custom changes nothing: the custom page sets the fields.
  void SelectSetupType(SetupType type);

  std::size_t Size() const { return groups_.size(); }
  const std::vector<std::unique_ptr<CGroup>>& Groups() const { return groups_; }

  std::vector<GroupRecord> Records() const;
  // Writes one "groups" line per group into file.
  bool SaveGroups(std::string_view file) const;

 private:
  std::vector<std::unique_ptr<CGroup>> groups_;
};
