#include "install/archive/archive_volume_reader.h"

#include <cerrno>

#include "platform/core/exceptions.h"

std::optional<std::string> NextVolumeName(std::string_view path) {
  if (path.empty()) return std::nullopt;
  const char last = path.back();
  const bool counts = (last >= '0' && last < '9') || (last >= 'A' && last < 'Z') || (last >= 'a' && last < 'z');
  if (!counts) return std::nullopt;
  std::string next(path);
  next.back() = static_cast<char>(last + 1);
  return next;
}

void CVolumeArchiveReader::Open(std::string_view path, unsigned mode) {
  volumeIndex_ = 0;
  CArchiveReader::Open(path, mode);
}

bool CVolumeArchiveReader::AtEnd() {
  const CArchiveEntry* entry = CurrentEntry();
  if (entry == nullptr || entry->Header().Continued() == 0) return true;
  const std::string current = GetFilePath();
  const std::optional<std::string> next = NextVolumeName(current);
  if (!next) throw platform::FileException(platform::FileCause::FileNotFound, ENOENT, current + " (no next volume name)");
  Close();
  Reopen(*next);
  ReadHeader();
  ++volumeIndex_;
  return false;
}
