#pragma once
// Reading the lines of an install tables section (the install tables file, or
// the install log that a removal run reads in its place): every key with its
// value, in file order. Values are "|"-separated fields; a line written by an
// older or hand-edited file may hold fewer fields than its loader knows, and a
// missing field reads as empty text or 0 rather than failing the whole table.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TableLine {
  std::string key;
  std::string value;
};

// Every line of the section; empty for a missing file or section.
std::vector<TableLine> ReadTableLines(std::string_view section, std::string_view file);

// The field's text; empty when the value has no such field.
std::string FieldText(std::string_view value, std::size_t index);
// The field as a decimal number from its leading digits; 0 when it has none or
// is missing.
std::int32_t FieldNumber(std::string_view value, std::size_t index);
// Whether the text reads as a number: blanks, an optional sign, then a digit.
bool IsNumberText(std::string_view text);
