#pragma once
// The preprocessor: reads a script with the headers it includes, obeys #define,
// #undef, #ifdef, #ifndef, #if, #elif, #else and #endif, and hands the parser the
// tokens of the lines that are switched on, with every #define name replaced.

#include <filesystem>
#include <string>
#include <vector>

#include "tools/qmrc/macro_table.h"
#include "tools/qmrc/token.h"

namespace qmrc {

struct PreprocessedScript {
  std::vector<Token> tokens;
  std::vector<std::filesystem::path> includedFiles;  // headers read, in the order they were opened
};

// An #include is looked up beside the file that includes it, then beside the
// script. Windows' own headers (windows.h, winres.h, ...) need not exist: what
// scripts take from them is built in. Throws CompileError at the first mistake.
PreprocessedScript Preprocess(const std::filesystem::path& script);

}  // namespace qmrc
