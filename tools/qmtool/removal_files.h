#pragma once
// The product's removal files on the media. The tree holds placeholders for
// them; the media get a member named UNSETUP.EXE with the built removal
// program's bytes, and a member named REMOVE.PIF with a script that clears the
// private directory a removal run worked from.

#include <string>
#include <string_view>

namespace qmtool {

enum class RemovalFile { None, RemovalProgram, FinishScript };

// What a member of that file name is ("unsetup.exe", "remove.pif", any case).
RemovalFile RemovalFileOf(std::string_view fileName);

// The text of REMOVE.PIF. Run as "#!" script with its own path as $0 and no
// other argument, it deletes from its own directory the setup program's copy
// (setupProgram, a file name), "cv_setup.ini" and itself, names compared
// without regard to case, and nothing else.
std::string FinishScriptText(const std::string& setupProgram);

}  // namespace qmtool
