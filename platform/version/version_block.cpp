#include "platform/version/version_block.h"

#include <cstring>
#include <iterator>
#include <string_view>

#include "platform/version/little_endian.h"
#include "platform/version/version_info.h"

namespace platform {

namespace {

constexpr std::size_t kHeaderSize = 6;  // wLength, wValueLength, wType
constexpr std::u16string_view kKey = u"VS_VERSION_INFO";
// The key with its terminating zero, then padding to a 32-bit boundary.
constexpr std::size_t kKeyEnd = kHeaderSize + (kKey.size() + 1) * 2;
constexpr std::size_t kValueOffset = (kKeyEnd + 3) & ~std::size_t{3};
constexpr std::size_t kFixedFileInfoSize = sizeof(FixedFileInfo);

bool KeyMatches(const uint8_t* block) {
  for (std::size_t i = 0; i <= kKey.size(); ++i) {
    const char16_t expected = i < kKey.size() ? kKey[i] : u'\0';
    if (le::U16(block + kHeaderSize + i * 2) != expected) return false;
  }
  return true;
}

// The block's own length when it is plausible: never past the bytes we were given.
std::size_t DeclaredLength(const uint8_t* block, std::size_t size) {
  if (block == nullptr || size < kKeyEnd) return 0;
  const std::size_t length = le::U16(block);
  if (length < kKeyEnd || length > size) return 0;
  return length;
}

}  // namespace

bool HasVersionInfoHeader(const uint8_t* block, std::size_t size) {
  return DeclaredLength(block, size) != 0 && KeyMatches(block);
}

bool QueryFixedFileInfo(const void* data, std::size_t size, FixedFileInfo& info) {
  const auto* block = static_cast<const uint8_t*>(data);
  if (!HasVersionInfoHeader(block, size)) return false;
  const std::size_t length = DeclaredLength(block, size);
  const std::size_t valueLength = le::U16(block + 2);
  if (valueLength < kFixedFileInfoSize || kValueOffset + kFixedFileInfoSize > length) return false;

  const uint8_t* value = block + kValueOffset;
  if (le::U32(value) != kFixedFileInfoSignature) return false;
  uint32_t fields[kFixedFileInfoSize / 4];
  for (std::size_t i = 0; i < std::size(fields); ++i) fields[i] = le::U32(value + i * 4);
  static_assert(sizeof(fields) == sizeof(FixedFileInfo));
  std::memcpy(&info, fields, sizeof(info));
  return true;
}

}  // namespace platform
