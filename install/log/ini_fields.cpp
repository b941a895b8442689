#include "install/log/ini_fields.h"

#include "platform/core/crt_number.h"

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

std::optional<int> GetIntField(std::string_view value, std::size_t index) {
  const std::optional<std::string> field = GetField(value, index);
  if (!field) return std::nullopt;
  return static_cast<int>(platform::ReadDecimalLong(*field));
}

std::optional<std::int32_t> GetLongField(std::string_view value, std::size_t index) {
  const std::optional<std::string> field = GetField(value, index);
  if (!field) return std::nullopt;
  return platform::ReadDecimalLong(*field);
}
