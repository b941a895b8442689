#pragma once
// The C++ source that carries a compiled script into the program.

#include <string>

#include "tools/qmrc/script_model.h"

namespace qmrc {

// A translation unit defining `const platform::ResourceModule& <symbol>()` with
// every dialog, string and bitmap in constant static storage, dialogs and strings
// sorted by id. `symbol` may carry namespaces ("setup::Resources").
// `scriptName` only goes into the header comment.
std::string GenerateSource(const ResourceScript& script, const std::string& symbol, const std::string& scriptName);

// Whether `symbol` is an identifier, optionally qualified with "::".
bool IsValidSymbol(const std::string& symbol);

}  // namespace qmrc
