#include "install/log/ini_item.h"

#include <cstddef>

#include "install/log/ini_defaults.h"
#include "platform/profile/private_profile.h"

namespace {

// The private-profile buffer of one value: at most 255 characters.
constexpr std::size_t kValueBufferSize = 256;

std::string ReadValue(const std::string& section, const std::string& key, const char* defaultValue,
                      const std::string& file) {
  char buffer[kValueBufferSize] = {};
  const std::size_t length = platform::GetPrivateProfileString(section.c_str(), key.c_str(), defaultValue,
                                                               buffer, sizeof buffer, file);
  return std::string(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
}

}  // namespace

CIniItem::CIniItem(std::string section, std::string key, std::string value, std::string file,
                   unsigned flags)
    : autoWrite_((flags & kAutoWrite) != 0),
      autoRead_((flags & kAutoRead) != 0),
      section_(std::move(section)),
      key_(std::move(key)),
      file_(std::move(file)),
      value_(std::move(value)) {
  if (autoRead_ && !section_.empty() && !key_.empty()) Read();
}

CIniItem::~CIniItem() {
  if (!autoWrite_ || !IniAutoWriteEnabled() || value_ == lastRead_) return;
  if (section_.empty() || key_.empty()) return;
  try {
    Write();
  } catch (...) {
  }
}

bool CIniItem::ResolveFile() {
  if (file_.empty()) file_ = DefaultIniFileName();
  return !file_.empty();
}

bool CIniItem::Read() {
  if (!ResolveFile()) {
    lastRead_ = value_;
    return false;
  }
  const std::string result = ReadValue(section_, key_, value_.c_str(), file_);
  // The private-profile read cannot tell a stored value from the default it
  // returned, so read again with a default that differs from the first result:
  // a stored value comes back the same, a missing key gives the new default.
  const char* probe = result.empty() ? "-" : "";
  const bool present = ReadValue(section_, key_, probe, file_) == result;
  value_ = result;
  lastRead_ = result;
  return present;
}

bool CIniItem::Write() {
  if (!ResolveFile()) return false;
  return platform::WritePrivateProfileString(section_.c_str(), key_.c_str(), value_.c_str(), file_);
}
