#pragma once
// The statements of a script: DIALOG/DIALOGEX, STRINGTABLE and BITMAP, with the
// ones a setup has no use for (VERSIONINFO, ICON files, editor blocks) skipped.

#include <filesystem>
#include <vector>

#include "tools/qmrc/script_model.h"
#include "tools/qmrc/token.h"

namespace qmrc {

// Parses preprocessed tokens; BITMAP files are read relative to scriptDirectory.
// Throws CompileError at the first mistake, duplicates included.
ResourceScript ParseScript(const std::vector<Token>& tokens, const std::filesystem::path& scriptDirectory);

}  // namespace qmrc
