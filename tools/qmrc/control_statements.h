#pragma once
// The control statements of a dialog body and the class and styles each one implies.

#include <cstdint>
#include <string_view>

namespace qmrc {

enum class ControlShape {
  kTextIdRect,    // "text", id, x, y, cx, cy [, style [, exstyle]]
  kIdRect,        // id, x, y, cx, cy [, style [, exstyle]]
  kIcon,          // name-or-text, id, x, y [, cx, cy [, style [, exstyle]]]
  kGeneric,       // CONTROL text, id, class, style, x, y, cx, cy [, exstyle]
};

struct ControlStatement {
  std::string_view keyword;
  std::string_view windowClass;  // empty for CONTROL, which names its class
  std::uint32_t defaultStyle;    // besides WS_CHILD | WS_VISIBLE, which every control has
  ControlShape shape;
};

// The statement for a keyword (compared ignoring case); null when there is none.
const ControlStatement* FindControlStatement(std::string_view keyword);

// The predefined class a CONTROL statement names, spelled as Windows does
// ("button" -> "BUTTON"); other classes stay as written.
std::string_view CanonicalClassName(std::string_view name);

}  // namespace qmrc
