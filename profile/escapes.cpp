#include "profile/escapes.h"

std::string ExpandEscapes(std::string_view text) {
  std::string expanded;
  expanded.reserve(text.size());
  bool escaped = false;
  for (const char c : text) {
    if (!escaped) {
      if (c == '\\') {
        escaped = true;
      } else {
        expanded += c;
      }
      continue;
    }
    switch (c) {
      case '\\': expanded += '\\'; break;
      case 'n': expanded += '\n'; break;
      case 't': expanded += '\t'; break;
      default:
        // An unknown escape is not an escape: keep the text as written.
        expanded += '\\';
        expanded += c;
        break;
    }
    escaped = false;
  }
  return expanded;
}
