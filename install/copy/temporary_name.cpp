#include "install/copy/temporary_name.h"

#include <cstdio>
#include <cstdlib>

#include "install/errors/xexception.h"
#include "platform/fs/file_ops.h"

RandomDraw RuntimeRandomDraw() {
  return [] { return std::rand() & 0x7FFF; };
}

namespace {

std::string DrawName(const RandomDraw& draw) {
  char digits[5 * 8 + 1];
  int values[5];
  for (int& value : values) value = draw();
  std::snprintf(digits, sizeof digits, "%.4x%.4x%.4x%.4x%.4x", static_cast<unsigned>(values[0]),
                static_cast<unsigned>(values[1]), static_cast<unsigned>(values[2]),
                static_cast<unsigned>(values[3]), static_cast<unsigned>(values[4]));
  return std::string(digits, 8);
}

}  // namespace

std::string MakeTemporaryPath(std::string_view destinationPath, const RandomDraw& draw) {
  const std::size_t nameStart = destinationPath.find_last_of("\\/:") == std::string_view::npos
                                    ? 0
                                    : destinationPath.find_last_of("\\/:") + 1;
  const std::string_view directory = destinationPath.substr(0, nameStart);
  const std::string_view name = destinationPath.substr(nameStart);
  const std::size_t dot = name.rfind('.');
  const std::string_view extension = dot == std::string_view::npos ? std::string_view() : name.substr(dot);
  for (int attempt = 0; attempt < kTemporaryNameDraws; ++attempt) {
    std::string candidate = std::string(directory) + DrawName(draw) + std::string(extension);
    if (!platform::FileExists(candidate)) return candidate;
  }
  throw CXFileException(platform::FileCause::AccessDenied, std::string(destinationPath));
}
