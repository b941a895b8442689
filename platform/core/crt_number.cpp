#include "platform/core/crt_number.h"

#include <algorithm>
#include <limits>

namespace platform {

std::int32_t ReadDecimalLong(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // The magnitude grows in 64 bits and stops one past the largest 32-bit
  // value, which is exactly the magnitude of the smallest.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    magnitude = std::min(magnitude * 10 + (text[i] - '0'), kLimit);
  }
  return static_cast<std::int32_t>(negative ? -magnitude : std::min(magnitude, kLimit - 1));
}

}  // namespace platform
