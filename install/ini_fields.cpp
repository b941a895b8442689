#include "install/ini_fields.h"

#include <algorithm>
#include <limits>

std::optional<std::string> GetField(std::string_view value, std::size_t index) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < index; ++i) {
    const std::size_t separator = value.find(kFieldSeparator, start);
    if (separator == std::string_view::npos) return std::nullopt;
    start = separator + 1;
  }
  const std::size_t end = value.find(kFieldSeparator, start);
  return std::string(value.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

std::int32_t ParseLeadingDecimal(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  // Accumulated as a magnitude with room for the sign, then clamped.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
    if (magnitude <= kLimit) magnitude = magnitude * 10 + (text[pos] - '0');
    ++pos;
  }
  if (negative) return static_cast<std::int32_t>(-std::min(magnitude, kLimit));
  return static_cast<std::int32_t>(std::min(magnitude, kLimit - 1));
}

std::optional<int> GetIntField(std::string_view value, std::size_t index) {
  const std::optional<std::string> field = GetField(value, index);
  if (!field) return std::nullopt;
  return static_cast<int>(ParseLeadingDecimal(*field));
}

std::optional<std::int32_t> GetLongField(std::string_view value, std::size_t index) {
  const std::optional<std::string> field = GetField(value, index);
  if (!field) return std::nullopt;
  return ParseLeadingDecimal(*field);
}
