#pragma once
// A whole compilation from the script's path to its resources.

#include <filesystem>

#include "tools/qmrc/script_model.h"

namespace qmrc {

// Preprocesses and parses the script; the result lists every file it read.
// Throws CompileError at the first mistake.
ResourceScript CompileScript(const std::filesystem::path& script);

}  // namespace qmrc
