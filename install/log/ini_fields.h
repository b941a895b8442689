#pragma once
// Fields of "|"-separated INI values, numbered from 0. A value has one field
// more than it has separators, so "" is one empty field and "a|" two fields.
// No field at the index is a failure (std::nullopt).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr char kFieldSeparator = '|';

std::optional<std::string> GetField(std::string_view value, std::size_t index);

// The field as a decimal number, read by platform::ReadDecimalLong: "12abc" is
// 12, "-2" is -2 (the log stores negative ids such as the Windows directory's),
// " 7" is 7, and text without leading digits ("abc", "", "- 3") is 0.
std::optional<int> GetIntField(std::string_view value, std::size_t index);
std::optional<std::int32_t> GetLongField(std::string_view value, std::size_t index);

