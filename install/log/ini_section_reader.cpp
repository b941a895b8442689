#include "install/log/ini_section_reader.h"

#include <cstring>
#include <utility>

#include "install/log/ini_defaults.h"
#include "platform/profile/private_profile.h"

namespace {

constexpr std::size_t kInitialKeyListSize = 256;
// A section whose key names need more than this is cut here rather than
// growing the buffer without end on a damaged or hostile file.
constexpr std::size_t kMaxKeyListSize = std::size_t{1} << 24;

}  // namespace

CIniSectionReader::CIniSectionReader(std::string section, std::string file)
    : file_(std::move(file)), section_(std::move(section)) {}

void CIniSectionReader::Release() {
  keys_.reset();
  keysLength_ = 0;
  cursor_ = 0;
}

bool CIniSectionReader::ReadKeyList() {
  Release();
  if (file_.empty()) file_ = DefaultIniFileName();
  if (file_.empty()) return false;
  // The read returns size - 2 when the list was cut, so grow until it is shorter.
  std::size_t size = kInitialKeyListSize;
  for (;;) {
    auto buffer = std::make_unique<char[]>(size);
    std::size_t length =
        platform::GetPrivateProfileString(section_.c_str(), nullptr, "", buffer.get(), size, file_);
    if (length > size - 2) length = size - 2;
    if (length < size - 2 || size >= kMaxKeyListSize) {
      buffer[length] = '\0';
      buffer[length + 1] = '\0';
      keys_ = std::move(buffer);
      keysLength_ = length;
      break;
    }
    size *= 2;
  }
  if (keysLength_ == 0 || keys_[0] == '\0') {
    Release();
    return false;
  }
  return true;
}

bool CIniSectionReader::First(CIniItem& item) {
  if (!ReadKeyList()) return false;
  return Next(item);
}

bool CIniSectionReader::Next(CIniItem& item) {
  if (!keys_) return false;
  if (cursor_ >= keysLength_ || keys_[cursor_] == '\0') {
    Release();
    return false;
  }
  const char* name = keys_.get() + cursor_;
  const std::size_t nameLength = strnlen(name, keysLength_ - cursor_);
  item.SetFile(file_);
  item.SetSection(section_);
  item.SetKey(std::string(name, nameLength));
  cursor_ += nameLength + 1;
  return true;
}
