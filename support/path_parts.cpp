#include "support/path_parts.h"

bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

PathParts SplitPath(std::string_view path) {
  PathParts parts;
  if (path.size() >= 2 && path[1] == ':') {
    parts.drive.assign(1, path[0]);
    path.remove_prefix(2);
  }

  std::size_t fileStart = 0;
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsPathSeparator(path[i - 1])) {
      fileStart = i;
      break;
    }
  }
  std::string_view directory = path.substr(0, fileStart);
  const std::string_view file = path.substr(fileStart);

  // Strip trailing separators, but a directory made only of separators is the root.
  std::size_t end = directory.size();
  while (end > 1 && IsPathSeparator(directory[end - 1])) --end;
  if (end == 1 && IsPathSeparator(directory[0])) {
    parts.directory = "\\";
  } else {
    parts.directory.assign(directory.substr(0, end));
  }

  // "." and ".." are whole names; splitting them at the dot would turn ".." into ".".
  const std::size_t dot = file.rfind('.');
  if (file == "." || file == ".." || dot == std::string_view::npos) {
    parts.name.assign(file);
  } else {
    parts.name.assign(file.substr(0, dot));
    parts.extension.assign(file.substr(dot + 1));
  }
  return parts;
}

std::string MakePath(const PathParts& parts) {
  std::string path;
  if (!parts.drive.empty()) {
    path += parts.drive;
    path += ':';
  }
  path += parts.directory;
  if (!parts.directory.empty() && !IsPathSeparator(parts.directory.back())) path += '\\';
  path += parts.name;
  if (!parts.extension.empty()) {
    if (parts.extension.front() != '.') path += '.';
    path += parts.extension;
  }
  return path;
}
