#include "system/target.h"

#include "install/tables/table_lines.h"

std::string CTarget::FormatLine() const {
  return std::to_string(iconIndex) + '|' + std::to_string(hotkey) + '|' + (minimized ? "1" : "0") + '|' + name + '|' +
         arguments + '|' + iconFile + '|' + commandPath.Text();
}

CTarget CTarget::FromLine(std::string_view key, std::string_view value) {
  CTarget target;
  target.key = std::string(key);
  target.iconIndex = FieldNumber(value, 0);
  target.hotkey = FieldNumber(value, 1);
  target.minimized = FieldNumber(value, 2) != 0;
  target.name = FieldText(value, 3);
  target.arguments = FieldText(value, 4);
  target.iconFile = FieldText(value, 5);
  target.commandPath.SetPath(FieldText(value, 6));
  return target;
}
