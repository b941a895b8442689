#include "system/program_items.h"

#include <cstdint>

#include "install/log/install_log.h"
#include "install/tables/destination_table.h"
#include "platform/fs/file_ops.h"
#include "platform/profile/private_profile.h"
#include "platform/shelllink/shell_link.h"
#include "support/path.h"
#include "system/progman_client.h"
#include "system/start_menu_folders.h"
#include "system/target.h"
#include "system/target_table.h"

namespace {

constexpr unsigned kShowNormal = 1;
constexpr unsigned kShowMinimized = 2;
// The removal reads the folder name with a buffer of 50 bytes.
constexpr int kFolderBuffer = 50;

std::string IconPath(const CTarget& target, const ProgramItemPlace& place) {
  return target.iconFile.empty() ? std::string() : JoinDirectory(place.installDirectory, target.iconFile);
}

std::string LinkFolder(const ProgramItemPlace& place) {
  const std::string programs = ProgramsFolderPath();
  if (programs.empty()) return {};
  return JoinDirectory(programs, place.programFolder);
}

void AddProgramManagerItems(const CTargetTable& targets, const ProgramItemPlace& place) {
  CProgmanClient client;
  if (!client.Connect(true)) return;
  for (const auto& target : targets.Targets()) {
    client.CreateGroup(place.programFolder);
    client.ReplaceItem(target->name);
    client.AddItem(ItemCommandLine(*target), target->name, IconPath(*target, place), target->iconIndex, -1, -1, "",
                   target->hotkey, target->minimized);
  }
  client.Disconnect();
}

void WriteShellLinks(const CTargetTable& targets, const ProgramItemPlace& place) {
  const std::string folder = LinkFolder(place);
  if (folder.empty()) return;
  CPath folderPath;
  folderPath.SetDriveAndDirectory(folder);
  folderPath.CreateDirectory(true);
  for (const auto& target : targets.Targets()) {
    platform::ShellLink link;
    link.name = target->name;
    // The program and its arguments apart: a link whose path held the whole
    // command line would name a file that does not exist.
    link.target = target->commandPath.Text();
    link.arguments = target->arguments;
    link.iconLocation = IconPath(*target, place);
    link.iconIndex = target->iconIndex;
    link.workingDirectory = target->commandPath.GetDriveAndDirectory();
    link.hotKey = static_cast<std::uint16_t>(target->hotkey < 0 ? 0 : target->hotkey);
    link.showCommand = target->minimized ? kShowMinimized : kShowNormal;
    try {
      platform::WriteShellLinkOnMachine(link, JoinDirectory(folder, target->name + ".lnk"));
    } catch (const platform::Exception&) {
      // An item that cannot be written is skipped, like a failed Program Manager command.
    }
  }
}

std::string LoggedProgramFolder(const std::string& tablesFile) {
  char buffer[kFolderBuffer] = {};
  platform::GetPrivateProfileString(install_log::kProgramFolderSection, install_log::kProgramFolderKey, "", buffer,
                                    sizeof buffer, tablesFile);
  return buffer;
}

}  // namespace

bool UsesProgramManager(const ProgramItemPlace& place) { return place.isNT && !place.isNT4; }

std::string ItemCommandLine(const CTarget& target) { return target.commandPath.Text() + " " + target.arguments; }

void CreateProgramItems(CTargetTable& targets, const ProgramItemPlace& place) {
  if (UsesProgramManager(place)) {
    AddProgramManagerItems(targets, place);
    return;
  }
  // A link stores no hot key as 0; the target says so too, for the log.
  for (const auto& target : targets.Targets()) {
    if (target->hotkey < 0) target->hotkey = 0;
  }
  WriteShellLinks(targets, place);
}

void RemoveProgramItem(const CTarget& target, const ProgramItemPlace& place, const std::string& tablesFile) {
  const std::string folderName = LoggedProgramFolder(tablesFile);
  // Without its folder's name the item cannot be found, and an empty name
  // would make the Programs folder itself the one to empty and remove.
  if (folderName.empty()) return;
  if (UsesProgramManager(place)) {
    CProgmanClient client;
    if (!client.Connect(true)) return;
    client.DeleteItem(target.name);
    client.DeleteGroup(folderName);
    client.Disconnect();
    return;
  }
  const std::string programs = ProgramsFolderPath();
  if (programs.empty()) return;
  const std::string folder = JoinDirectory(programs, folderName);
  platform::DeleteFile(JoinDirectory(folder, target.name + ".lnk"));
  platform::RemoveDirectory(folder);
}
