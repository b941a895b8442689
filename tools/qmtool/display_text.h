#pragma once
// Texts from product files shown on a terminal or in JSON: the files are in the
// Windows ANSI code page unless they are valid UTF-8 already.

#include <string>
#include <string_view>

namespace qmtool {

// UTF-8 as it stands; anything else read as Windows-1252 and converted.
std::string ToUtf8(std::string_view bytes);

// ToUtf8 in double quotes, with \\, \", \n, \r, \t and other control
// characters escaped, so that blanks and line ends show.
std::string Quoted(std::string_view bytes);

}  // namespace qmtool
