// Case folding of registry names. A UTF-8 name is folded code point by code
// point; anything else byte by byte as Windows-1252, where the same letters
// sit at the same numbers (U+00C0..U+00FF) plus four pairs below them.

#include "platform/registry/registry_names.h"

#include "platform/core/text_encoding.h"

namespace platform::registry_detail {
namespace {

char32_t FoldCodePoint(char32_t code) {
  if (code >= U'a' && code <= U'z') return code - 0x20;
  if (code >= 0xE0 && code <= 0xFE && code != 0xF7) return code - 0x20;
  switch (code) {
    case 0xFF: return 0x178;   // y with diaeresis
    case 0x161: return 0x160;  // s with caron
    case 0x153: return 0x152;  // o-e ligature
    case 0x17E: return 0x17D;  // z with caron
    default: return code;
  }
}

unsigned char FoldWindows1252(unsigned char byte) {
  if (byte >= 'a' && byte <= 'z') return byte - 0x20;
  if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) return byte - 0x20;
  switch (byte) {
    case 0xFF: return 0x9F;
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    default: return byte;
  }
}

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Decodes one code point of well-formed UTF-8 at text[*pos] and advances.
char32_t NextCodePoint(std::string_view text, std::size_t* pos) {
  const auto lead = static_cast<unsigned char>(text[*pos]);
  int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  char32_t code = extra == 3 ? lead & 0x07u : extra == 2 ? lead & 0x0Fu : extra == 1 ? lead & 0x1Fu : lead;
  ++*pos;
  for (; extra > 0; --extra, ++*pos) code = (code << 6) | (static_cast<unsigned char>(text[*pos]) & 0x3Fu);
  return code;
}

}  // namespace

std::string FoldName(std::string_view name) {
  std::string folded;
  folded.reserve(name.size());
  if (IsAscii(name) || !IsValidUtf8(name)) {
    for (const char c : name) folded.push_back(static_cast<char>(FoldWindows1252(static_cast<unsigned char>(c))));
    return folded;
  }
  for (std::size_t pos = 0; pos < name.size();) AppendUtf8(folded, FoldCodePoint(NextCodePoint(name, &pos)));
  return folded;
}

std::size_t NameLength(std::string_view name) {
  if (IsAscii(name) || !IsValidUtf8(name)) return name.size();
  std::size_t count = 0;
  for (const char c : name) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
  }
  return count;
}

bool SplitKeyPath(std::string_view path, std::vector<std::string_view>* components) {
  components->clear();
  if (path.empty()) return true;
  for (std::size_t start = 0;;) {
    const std::size_t end = path.find('\\', start);
    const std::string_view component = path.substr(start, end == std::string_view::npos ? path.npos : end - start);
    if (component.empty()) return false;
    components->push_back(component);
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

}  // namespace platform::registry_detail
