#pragma once
// Windows-1252 text to and from UTF-16LE, as the system's ANSI code page
// converts it. The five bytes the code page leaves undefined map to the code
// points of the same value, so every byte survives a round trip.

#include <string>
#include <string_view>

namespace platform {

std::u16string AnsiToUtf16(std::string_view ansi);
// Characters the code page cannot hold become '?'.
std::string Utf16ToAnsi(std::u16string_view text);

}  // namespace platform
