#pragma once
// Which file of the install directory is the installed setup program.

#include <optional>
#include <string>

namespace unsetup {

// The file name of the setup program in installDir (a Windows directory with a
// trailing backslash): the first key of the install log's "Install Programs"
// section that names a file present there, else "SETUP.EXE" when present;
// nullopt when neither is.
std::optional<std::string> FindInstalledSetupProgram(const std::string& installDir);

}  // namespace unsetup
