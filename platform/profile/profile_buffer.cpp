#include "platform/profile/profile_buffer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace platform {

std::size_t CopyTextToBuffer(std::string_view text, char* buffer, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t count = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
  return count;
}

std::size_t CopyNameListToBuffer(const std::vector<std::string>& names, char* buffer, std::size_t size) {
  if (size == 0) return 0;
  if (size == 1) {
    buffer[0] = '\0';
    return 0;
  }
  std::size_t used = 0;
  bool cut = false;
  for (const std::string& name : names) {
    // The name, its NUL and the list's final NUL must fit.
    if (used + name.size() + 2 > size) {
      cut = true;
      break;
    }
    std::memcpy(buffer + used, name.data(), name.size());
    used += name.size();
    buffer[used++] = '\0';
  }
  if (cut) {
    std::memset(buffer + used, 0, size - used);
    return size - 2;
  }
  buffer[used] = '\0';
  if (used == 0) buffer[1] = '\0';  // an empty list is two NULs
  return used + 1 >= size ? size - 2 : used;
}

std::string_view StripQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

unsigned ParseProfileInt(std::string_view text) {
  std::size_t at = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  std::uint32_t value = 0;
  for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
    value = value * 10u + static_cast<std::uint32_t>(text[at] - '0');
  }
  return negative ? 0u - value : value;
}

}  // namespace platform
