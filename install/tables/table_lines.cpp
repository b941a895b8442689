#include "install/tables/table_lines.h"

#include <cctype>

#include "install/log/ini_fields.h"
#include "install/log/ini_item.h"
#include "install/log/ini_section_reader.h"

std::vector<TableLine> ReadTableLines(std::string_view section, std::string_view file) {
  std::vector<TableLine> lines;
  CIniSectionReader reader{std::string(section), std::string(file)};
  CIniItem item;
  for (bool more = reader.First(item); more; more = reader.Next(item)) {
    item.SetValue({});
    item.Read();
    lines.push_back({item.Key(), item.Value()});
  }
  return lines;
}

std::string FieldText(std::string_view value, std::size_t index) { return GetField(value, index).value_or(""); }

std::int32_t FieldNumber(std::string_view value, std::size_t index) {
  return GetLongField(value, index).value_or(0);
}

bool IsNumberText(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) != 0;
}
