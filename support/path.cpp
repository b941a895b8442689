// CPath: construction, copying and the component operations.

#include "support/path.h"

#include "platform/fs/find.h"
#include "platform/fs/path_map.h"

CPath::CPath() = default;
CPath::CPath(std::string_view path) : path_(path) {}
CPath::~CPath() = default;

CPath::CPath(const CPath& other) : path_(other.path_), attributeMask_(other.attributeMask_) {}

CPath& CPath::operator=(const CPath& other) {
  if (this != &other) {
    CloseSearch();
    path_ = other.path_;
    attributeMask_ = other.attributeMask_;
  }
  return *this;
}

CPath::CPath(CPath&& other) noexcept = default;
CPath& CPath::operator=(CPath&& other) noexcept = default;

void CPath::SetPath(std::string_view path) {
  CloseSearch();
  path_.assign(path);
}

std::string CPath::GetDrive() const { return Split().drive; }
std::string CPath::GetDirectory() const { return Split().directory; }
std::string CPath::GetName() const { return Split().name; }
std::string CPath::GetExtension() const { return Split().extension; }

std::string CPath::GetDriveAndDirectory() const {
  const PathParts parts = Split();
  return parts.drive.empty() ? parts.directory : parts.drive + ":" + parts.directory;
}

std::string CPath::GetNameExt() const {
  const PathParts parts = Split();
  return parts.extension.empty() ? parts.name : parts.name + "." + parts.extension;
}

std::string CPath::GetFullPath() const {
  std::string full;
  if (!platform::GetFullPathName(path_, full) || full.size() > platform::kMaxPath) return {};
  return full;
}

void CPath::SetDrive(std::string_view drive) {
  if (!drive.empty() && drive.back() == ':') drive.remove_suffix(1);
  PathParts parts = Split();
  parts.drive.assign(drive);
  ApplyParts(parts);
}

void CPath::SetDirectory(std::string_view directory) {
  PathParts parts = Split();
  std::string text;
  if (directory.empty() || !IsPathSeparator(directory.front())) text += '\\';
  text += directory;
  if (!IsPathSeparator(text.back())) text += '\\';
  parts.directory = std::move(text);
  ApplyParts(parts);
}

void CPath::SetDriveAndDirectory(std::string_view driveAndDirectory) {
  std::string text(driveAndDirectory);
  if (text.empty() || !IsPathSeparator(text.back())) text += '\\';
  const PathParts given = SplitPath(text);
  PathParts parts = Split();
  parts.drive = given.drive;
  parts.directory = given.directory;
  ApplyParts(parts);
}

void CPath::SetName(std::string_view name) {
  PathParts parts = Split();
  parts.name.assign(name);
  ApplyParts(parts);
}

void CPath::SetExtension(std::string_view extension) {
  if (!extension.empty() && extension.front() == '.') extension.remove_prefix(1);
  PathParts parts = Split();
  parts.extension.assign(extension);
  ApplyParts(parts);
}

void CPath::SetNameExt(std::string_view nameExt) {
  const PathParts given = SplitPath(nameExt);
  PathParts parts = Split();
  parts.name = given.name;
  parts.extension = given.extension;
  ApplyParts(parts);
}

void CPath::AppendDirectory(std::string_view relative) {
  while (!relative.empty() && IsPathSeparator(relative.front())) relative.remove_prefix(1);
  PathParts parts = Split();
  std::string directory = parts.directory;
  // A drive without a directory gets its root between: "C:" and "QM2" make
  // "C:\QM2\". Only a path with neither drive nor directory stays relative.
  if ((!directory.empty() || !parts.drive.empty()) && (directory.empty() || !IsPathSeparator(directory.back()))) {
    directory += '\\';
  }
  directory += relative;
  if (!directory.empty() && !IsPathSeparator(directory.back())) directory += '\\';
  parts.directory = std::move(directory);
  ApplyParts(parts);
}

std::string CPath::RemoveLastDirectory() {
  PathParts parts = Split();
  std::string& directory = parts.directory;
  if (directory.empty() || directory == "\\" || directory == "/") return {};
  const std::size_t cut = directory.find_last_of("\\/");
  std::string removed;
  if (cut == std::string::npos) {  // a relative single component: "A"
    removed = directory;
    directory.clear();
  } else {
    removed = directory.substr(cut + 1);
    // Keep the separator when it is the root's: "\A" becomes "\".
    directory.erase(cut == 0 ? 1 : cut);
  }
  ApplyParts(parts);
  return removed;
}

CPath CPath::GetRoot() const {
  PathParts root;
  root.drive = GetDrive();
  root.directory = "\\";
  return CPath(MakePath(root));
}
