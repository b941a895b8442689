#include "support/file_version.h"

#include "platform/version/version_info.h"

bool IsVersionNewer(const FileVersionNumber& a, const FileVersionNumber& b) { return a > b; }

bool CFileVersion::LoadVersionInfo(std::string_view fileName) {
  block_.clear();
  blockSize_ = 0;
  const uint32_t size = platform::GetFileVersionInfoSize(fileName);
  if (size == 0) return false;
  std::vector<uint8_t> block(static_cast<std::size_t>(size) + 1, 0);
  if (!platform::GetFileVersionInfo(fileName, size, block.data())) return false;
  block_ = std::move(block);
  blockSize_ = size;
  return true;
}

std::optional<FileVersionNumber> CFileVersion::GetFileVersion() const {
  if (block_.empty()) return std::nullopt;
  platform::FixedFileInfo info{};
  if (!platform::QueryFixedFileInfo(block_.data(), blockSize_, info)) return std::nullopt;
  return FileVersionNumber{static_cast<uint16_t>(info.fileVersionMS >> 16),
                           static_cast<uint16_t>(info.fileVersionMS & 0xFFFF),
                           static_cast<uint16_t>(info.fileVersionLS >> 16),
                           static_cast<uint16_t>(info.fileVersionLS & 0xFFFF)};
}

bool CFileVersion::IsNewerThan(const CFileVersion& other) const {
  const std::optional<FileVersionNumber> mine = GetFileVersion();
  if (!mine) return false;
  const std::optional<FileVersionNumber> theirs = other.GetFileVersion();
  if (!theirs) return true;
  return IsVersionNewer(*mine, *theirs);
}
