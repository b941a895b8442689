#pragma once
// One file of a script as lines of UTF-8 text with the comments taken out.

#include <filesystem>
#include <string>
#include <vector>

namespace qmrc {

// Reads a script or header. Accepts UTF-8 (with or without a byte-order mark),
// UTF-16LE with its mark (as some editors save scripts), and falls back to the
// Windows-1252 code page for anything that is not valid UTF-8. Comments become
// spaces and a block comment keeps its lines, so line numbers stay those of the
// file. Throws CompileError for an unreadable file or an unterminated comment.
std::vector<std::string> ReadSourceLines(const std::filesystem::path& file);

// The text with comments removed; exposed for the tests.
std::vector<std::string> StripComments(const std::string& text, const std::string& fileName);

// The UTF-8 form of one Windows-1252 character.
std::string Windows1252ToUtf8(unsigned char c);

}  // namespace qmrc
