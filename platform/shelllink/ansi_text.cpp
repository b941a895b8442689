#include "platform/shelllink/ansi_text.h"

#include "platform/core/text_encoding.h"

namespace platform {
namespace {

char16_t CodePointOf(unsigned char byte) {
  const char32_t code = Windows1252CodePoint(byte);
  return static_cast<char16_t>(code == 0 && byte != 0 ? byte : code);
}

char AnsiOf(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (unsigned byte = 0x80; byte < 0xA0; ++byte) {
    if (CodePointOf(static_cast<unsigned char>(byte)) == unit) return static_cast<char>(byte);
  }
  return '?';
}

}  // namespace

std::u16string AnsiToUtf16(std::string_view ansi) {
  std::u16string out;
  out.reserve(ansi.size());
  for (char c : ansi) out.push_back(CodePointOf(static_cast<unsigned char>(c)));
  return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    // A surrogate pair is one character, so one '?'.
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      ++i;
    }
    out.push_back(AnsiOf(unit));
  }
  return out;
}

}  // namespace platform
