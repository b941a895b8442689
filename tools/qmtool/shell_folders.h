#pragma once
// The shell folders a fresh machine has, which the setup reads from the registry:
// the Start menu's Programs folder under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders.

#include <string>

#include "platform/machine/machine.h"

namespace qmtool {

inline constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The Programs folder of the platform kind: win95 <Windows>\Start Menu\Programs;
// nt4 the user profile's <Windows>\Profiles\Administrator\Start Menu\Programs.
// nt351 keeps its program items in Program Manager and has no such folder; it
// gets the nt4 form anyway so that the value the setup reads exists.
std::string ProgramsFolderOf(const platform::MachineConfig& config);

// Creates the Programs folder on the current machine and writes its path as the
// "Programs" value of the shell folders key; returns the path. Throws
// platform::MachineError when the folder or the value cannot be made.
std::string SeedShellFolders(const platform::MachineConfig& config);

inline constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Creates HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall,
// which every Windows installation has: a setup that registers its removal
// there then creates only its own key, and a removal deletes only that one.
// Throws platform::MachineError when the key cannot be made.
void SeedUninstallKey();

}  // namespace qmtool
