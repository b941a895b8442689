#pragma once
// The folders of the user's start-menu "Programs" folder, for the program
// folder list on Windows 95 and NT 4.

#include <string>
#include <vector>

inline constexpr const char* kShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* kProgramsValue = "Programs";

// The "Programs" value of HKEY_CURRENT_USER's shell folders key; empty when
// it is missing or not a text.
std::string ProgramsFolderPath();

// The names of the subdirectories of the "Programs" folder, in the order the
// directory search gives them; nothing when there is no such folder.
std::vector<std::string> StartMenuProgramFolders();
