#pragma once
// Program Manager's groups, one text file per group in a directory (the
// machine's Windows directory):
//
//   [Group]
//   Name=QM2
//   [Item1]
//   Name=Quillmark
//   Command=C:\QM\QM.EXE /U
//   Icon=C:\QM\QM.ICO
//   IconIndex=0
//   DefaultDir=
//   Hotkey=0
//   Minimized=0
//
// Files are replaced through a temporary file and a rename, so a crash leaves
// the old group or the new one, never a torn one. Names compare ignoring case.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform::dde {

struct ProgmanItem {
  std::string name;
  std::string command;
  std::string iconPath;
  int iconIndex = 0;
  std::string defaultDir;
  int hotkey = 0;  // 0 for none
  bool minimized = false;
};

struct ProgmanGroup {
  std::string name;
  std::vector<ProgmanItem> items;

  ProgmanItem* FindItem(std::string_view itemName);
};

inline constexpr const char* kGroupFileExtension = ".grp";

std::string FormatGroupFile(const ProgmanGroup& group);
// False when text is not a group file (no group name).
bool ParseGroupFile(std::string_view text, ProgmanGroup& group);

class ProgmanGroupStore {
 public:
  // Reads every group file of directory; files that are not group files are
  // left alone. Raises platform::FileException when the directory is unreadable.
  explicit ProgmanGroupStore(std::filesystem::path directory);

  // In the order the groups were found or created.
  const std::vector<ProgmanGroup>& Groups() const { return groups_; }
  ProgmanGroup* Find(std::string_view name);

  // The group, created (and written) when there is none of that name.
  ProgmanGroup& Create(std::string_view name);
  // Writes a group changed in place. Raises platform::FileException.
  void Save(const ProgmanGroup& group);
  // False when there is no such group.
  bool Delete(std::string_view name);

 private:
  std::filesystem::path FileOf(const ProgmanGroup& group) const;
  std::filesystem::path NewFileName(std::string_view groupName) const;

  std::filesystem::path directory_;
  std::vector<ProgmanGroup> groups_;
  std::vector<std::string> files_;  // file name of groups_[i]
};

}  // namespace platform::dde
