#include "platform/fs/dos_attributes.h"

#include <sys/xattr.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/fs/file_ops.h"

namespace platform {
namespace {

constexpr const char* kXattrName = "user.DOSATTRIB";
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

uint32_t ReadStoredBits(const std::filesystem::path& host) {
  char buffer[64];
  const ssize_t size = getxattr(host.c_str(), kXattrName, buffer, sizeof buffer);
  if (size <= 0) {
    // Binary forms can outgrow the buffer; their text head is all we read.
    if (size < 0 && errno == ERANGE) {
      std::string big(65536, '\0');
      const ssize_t bigSize = getxattr(host.c_str(), kXattrName, big.data(), big.size());
      if (bigSize > 0) return ParseDosAttribText(std::string_view(big.data(), bigSize)).value_or(0) & kStoredDosBits;
    }
    return 0;
  }
  return ParseDosAttribText(std::string_view(buffer, static_cast<std::size_t>(size))).value_or(0) & kStoredDosBits;
}

// Some file systems, and user attributes on special files, refuse extended
// attributes altogether; the bits are then simply absent, as documented.
bool XattrUnsupported(int err, const struct stat& st) {
  return err == ENOTSUP || (err == EPERM && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode));
}

bool WriteStoredBits(const std::filesystem::path& host, uint32_t bits) {
  int result;
  if (bits == 0) {
    result = removexattr(host.c_str(), kXattrName);
    if (result != 0 && errno == ENODATA) result = 0;
  } else {
    char text[16];
    const int length = std::snprintf(text, sizeof text, "0x%x", bits);
    result = setxattr(host.c_str(), kXattrName, text, static_cast<std::size_t>(length), 0);
  }
  return result == 0;
}

}  // namespace

std::optional<uint32_t> ParseDosAttribText(std::string_view value) {
  if (value.size() < 3 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X')) return std::nullopt;
  uint32_t bits = 0;
  std::size_t digits = 0;
  for (std::size_t i = 2; i < value.size() && digits < 8; ++i, ++digits) {
    const char c = value[i];
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      break;
    }
    bits = bits << 4 | digit;
  }
  if (digits == 0) return std::nullopt;
  return bits;
}

bool IsReadOnlyMode(mode_t mode) { return (mode & kWriteBits) == 0; }

uint32_t DosAttributesOf(const std::filesystem::path& host, const struct stat& st) {
  uint32_t attributes = ReadStoredBits(host);
  if (S_ISDIR(st.st_mode)) attributes |= kAttrDirectory;
  if (IsReadOnlyMode(st.st_mode)) attributes |= kAttrReadOnly;
  return attributes;
}

bool SetDosAttributes(const std::filesystem::path& host, uint32_t attributes) {
  struct stat st;
  if (stat(host.c_str(), &st) != 0) return false;
  const bool wasReadOnly = IsReadOnlyMode(st.st_mode);
  const bool readOnly = (attributes & kAttrReadOnly) != 0;
  mode_t mode = st.st_mode & 07777;
  if (readOnly) {
    mode &= ~kWriteBits;
  } else if (wasReadOnly) {
    mode |= S_IWUSR | (kWriteBits & ~S_IWUSR & ~CurrentUmask());
  }

  // Writing an extended attribute needs write permission, so a file that is to
  // become read-only gets its bits first and one that stops being read-only
  // gets its write bits back first.
  if (!readOnly && wasReadOnly && chmod(host.c_str(), mode) != 0) return false;
  const uint32_t bits = attributes & kStoredDosBits;
  if (ReadStoredBits(host) != bits && !WriteStoredBits(host, bits)) {
    const int err = errno;
    bool written = false;
    if (err == EACCES && wasReadOnly && readOnly) {
      // A read-only file changing only its other bits: open it for the change.
      if (chmod(host.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0) {
        written = WriteStoredBits(host, bits);
        chmod(host.c_str(), st.st_mode & 07777);
      }
    }
    if (!written && !XattrUnsupported(err, st)) {
      errno = err;
      return false;
    }
  }
  if (readOnly && !wasReadOnly && chmod(host.c_str(), mode) != 0) return false;
  return true;
}

mode_t CurrentUmask() {
  // /proc tells the mask without the race of setting it to read it.
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8) & 0777);
  }
  const mode_t mask = umask(022);
  umask(mask);
  return mask;
}

}  // namespace platform
