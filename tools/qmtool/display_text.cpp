#include "tools/qmtool/display_text.h"

#include <cstdio>

#include "platform/core/text_encoding.h"

namespace qmtool {

std::string ToUtf8(std::string_view bytes) {
  if (platform::IsValidUtf8(bytes)) return std::string(bytes);
  return platform::Windows1252ToUtf8(bytes);
}

std::string Quoted(std::string_view bytes) {
  std::string out = "\"";
  for (char c : ToUtf8(bytes)) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace qmtool
