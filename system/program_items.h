#pragma once
// Program items: one per target in the program folder the user chose, as
// Program Manager items on Windows NT 3.x and as shell links in the Start
// menu's Programs folder on Windows 95 and NT 4. Nothing here is reported: an
// item that cannot be made or removed is skipped.

#include <string>

struct CTarget;
class CTargetTable;

struct ProgramItemPlace {
  std::string programFolder;     // the folder (group) name
  std::string installDirectory;  // destination 0: where icon files are
  bool isNT = false;
  bool isNT4 = false;
};

// True where Program Manager keeps the items (NT but not NT 4).
bool UsesProgramManager(const ProgramItemPlace& place);

// The item's command line: the command path, a blank and the arguments (the
// blank even when there are none).
std::string ItemCommandLine(const CTarget& target);

// Creates the item of every target in table order. For shell links a target
// without a hot key (-1) is given 0, as a link stores it; Program Manager gets
// an empty hot key field.
void CreateProgramItems(CTargetTable& targets, const ProgramItemPlace& place);

// Removes the target's item and then its folder: the whole group in Program
// Manager, the folder once it is empty for shell links. The folder's name is
// the "PMGroup" record of tablesFile (the install log in a removal).
void RemoveProgramItem(const CTarget& target, const ProgramItemPlace& place, const std::string& tablesFile);
