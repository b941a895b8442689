#include "app/command_line.h"

#include <algorithm>

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

