#pragma once
// Process-wide settings of the INI access classes. Both are set once at start-up,
// before any INI access; the program has one user-interface thread and no others.

#include <string>

// The application's default INI file: the file of a CIniItem or
// CIniSectionReader whose file is empty. The application object sets it to the
// install tables file at start-up; until then it is empty, and accesses through
// an empty file name read nothing and write nothing.
void SetDefaultIniFileName(std::string fileName);
const std::string& DefaultIniFileName();

// Enables the automatic write of a CIniItem at its destruction (see ini_item.h).
// Off by default, and the setup itself never turns it on.
void SetIniAutoWriteEnabled(bool enabled);
bool IniAutoWriteEnabled();
