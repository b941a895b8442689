#include "install/log/log_lines.h"

namespace {

std::string Flag(bool on) { return on ? "1" : "0"; }

}  // namespace

std::string FormatInstalledFileLine(int destinationId, bool installed, bool replaced) {
  return std::to_string(destinationId) + "|" + Flag(installed) + "|" + Flag(replaced);
}

std::string FormatDestinationLine(std::string_view relativeName, int parentId, std::string_view path) {
  std::string line(relativeName);
  line += "|" + std::to_string(parentId) + "|";
  line += path;
  return line;
}

std::string FormatGroupLine(std::string_view title, std::string_view description, int minimumFlag,
                            int typicalFlag, int customFlag) {
  std::string line(title);
  line += "|";
  line += description;
  line += "|" + std::to_string(minimumFlag) + "|" + std::to_string(typicalFlag) + "|" +
          std::to_string(customFlag);
  return line;
}

std::string_view FileNameOfPath(std::string_view path) {
  const std::size_t last = path.find_last_of("\\/:");
  return last == std::string_view::npos ? path : path.substr(last + 1);
}
