#pragma once
// Text encodings the machine's files come in: the Windows-1252 code page of the
// program's day, UTF-16LE, and the UTF-8 the host shows.

#include <string>
#include <string_view>

namespace platform {

// Appends code as UTF-8; surrogates and values past U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, char32_t code);

// True when text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);

// The Unicode code point of a Windows-1252 byte; 0 for the five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D).
char32_t Windows1252CodePoint(unsigned char byte);

// Windows-1252 bytes as UTF-8; an undefined byte becomes undefinedAs.
std::string Windows1252ToUtf8(std::string_view bytes, char32_t undefinedAs = U'\uFFFD');

// UTF-16LE code units (without a byte-order mark) as UTF-8; a lone surrogate
// becomes U+FFFD and an odd last byte is dropped.
std::string Utf16LeToUtf8(std::string_view bytes);

}  // namespace platform
