#include "app/command_line.h"

#include <algorithm>
#include <limits>

std::string JoinArguments(int argc, const char* const* argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

CommandLineSwitches ParseCommandLine(std::string_view text) {
  CommandLineSwitches switches;
  int positional = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == ' ') {
      ++pos;
      continue;
    }
    const std::size_t end = std::min(text.find(' ', pos), text.size());
    const std::string_view word = text.substr(pos, end - pos);
    pos = end;

    if (word.front() != '/') {
      switches["#" + std::to_string(++positional)] = std::string(word);
      continue;
    }
    if (word.size() == 1) continue;
    const std::size_t colon = word.find(':');
    if (colon != std::string_view::npos) {
      switches[std::string(word.substr(1, colon - 1))] = std::string(word.substr(colon + 1));
    } else {
      switches[std::string(word.substr(1, 1))] = std::string(word.substr(2));
    }
  }
  return switches;
}

std::int32_t ParseThreadNumber(std::string_view text) {
  std::size_t pos = 0;
  // Blanks as the C runtime's number reading skips them.
  while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    negative = text[pos] == '-';
    ++pos;
  }
  std::int64_t value = 0;
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    value = std::min(value * 10 + (text[pos] - '0'), kLimit);
  }
  if (negative) return static_cast<std::int32_t>(-value);
  return static_cast<std::int32_t>(std::min(value, kLimit - 1));
}
