#include "platform/core/standard_options.h"

#include <cstdio>
#include <cstring>

std::optional<int> AnswerStandardOption(int argc, const char* const* argv, const char* program,
                                        const char* version, const char* usage) {
  if (argc != 2) return std::nullopt;
  if (std::strcmp(argv[1], "--help") == 0) {
    std::fputs(usage, stdout);
    return 0;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s %s\n", program, version);
    return 0;
  }
  return std::nullopt;
}
