#pragma once
// The BMP files that BITMAP statements name.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/qmrc/diagnostics.h"

namespace qmrc {

// The file a BITMAP statement means: relative names are taken from the script's
// directory, and a name whose letter case differs from the file on disk is
// matched as Windows would. Returns the path unchanged when nothing matches.
std::filesystem::path ResolveResourceFile(const std::filesystem::path& scriptDirectory, const std::string& name);

// The bytes of a BMP file, checked to be one: "BM", a file size that matches,
// a known header, and pixel data inside the file. Throws CompileError at
// `statement` otherwise.
std::vector<std::uint8_t> LoadBitmapFile(const std::filesystem::path& file, const SourceLocation& statement);

// The check alone; an empty string when the bytes are a sound BMP, else what is wrong.
std::string BitmapProblem(const std::vector<std::uint8_t>& bytes);

}  // namespace qmrc
