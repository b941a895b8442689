#include "install/archive/archive_entry_header.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

using namespace archive_layout;

ArchiveEntryHeader::ArchiveEntryHeader() {
  std::memcpy(bytes_.data() + kMagicOffset, kEntryMagic, sizeof kEntryMagic);
  Put16(kVersionOffset, kEntryVersion);
  Put16(kHeaderSizeOffset, static_cast<uint16_t>(kEntryHeaderSize));
}

bool ArchiveEntryHeader::HasEntryMagic() const {
  return std::memcmp(bytes_.data() + kMagicOffset, kEntryMagic, sizeof kEntryMagic) == 0;
}

std::string ArchiveEntryHeader::Name() const {
  const auto* field = reinterpret_cast<const char*>(bytes_.data() + kNameOffset);
  const void* end = std::memchr(field, '\0', kNameFieldSize);
  const std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : kNameFieldSize;
  return std::string(field, length);
}

void ArchiveEntryHeader::SetName(std::string_view name) {
  if (name.size() >= kNameFieldSize || name.find('\0') != std::string_view::npos) {
    throw std::length_error("entry name does not fit the header: " + std::string(name.substr(0, 80)));
  }
  std::fill_n(bytes_.data() + kNameOffset, kNameFieldSize, uint8_t{0});
  std::memcpy(bytes_.data() + kNameOffset, name.data(), name.size());
}

uint16_t ArchiveEntryHeader::Get16(std::size_t offset) const {
  return static_cast<uint16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
}

uint32_t ArchiveEntryHeader::Get32(std::size_t offset) const {
  return static_cast<uint32_t>(bytes_[offset]) | static_cast<uint32_t>(bytes_[offset + 1]) << 8 |
         static_cast<uint32_t>(bytes_[offset + 2]) << 16 | static_cast<uint32_t>(bytes_[offset + 3]) << 24;
}

void ArchiveEntryHeader::Put16(std::size_t offset, uint16_t value) {
  bytes_[offset] = static_cast<uint8_t>(value);
  bytes_[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void ArchiveEntryHeader::Put32(std::size_t offset, uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

std::string NameAndExtension(std::string_view name) {
  const std::size_t cut = name.find_last_of("\\/:");
  return std::string(cut == std::string_view::npos ? name : name.substr(cut + 1));
}
