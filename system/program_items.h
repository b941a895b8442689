#pragma once
// Creating the program items of an install: one item per target in the
// program folder the user chose, as shell links in the Start menu or as
// Program Manager items on Windows NT 3.x.

#include <string>

class CTargetTable;

struct ProgramItemPlace {
  std::string programFolder;  // the folder (group) name
  bool isNT = false;
  bool isNT4 = false;
};

// Creates the item of every target that has a command path. Failures are not
// reported: an item that cannot be made is skipped.
void CreateProgramItems(const CTargetTable& targets, const ProgramItemPlace& place);
