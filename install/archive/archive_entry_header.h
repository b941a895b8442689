#pragma once
// The byte layout of archive files, and one entry header.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Every integer is little-endian.
//
// Every volume starts with an 8-byte archive header: "mflh" and four bytes the
// reader does not interpret. Entries follow: a 346-byte entry header, then the
// entry's data (stored, or -lh5- compressed), whose length is the header's
// compressed size. The next entry header starts at header position + 346 +
// compressed size; the archive ends where fewer than 346 bytes remain.

namespace archive_layout {

inline constexpr char kArchiveMagic[4] = {'m', 'f', 'l', 'h'};
inline constexpr std::size_t kArchiveHeaderSize = 8;

inline constexpr char kEntryMagic[4] = {'m', 'f', 'e', 'n'};
inline constexpr std::size_t kEntryHeaderSize = 346;
inline constexpr uint16_t kEntryVersion = 1;  // written at offset 4; the reader ignores it

// Offsets inside an entry header.
inline constexpr std::size_t kMagicOffset = 0;
inline constexpr std::size_t kVersionOffset = 4;
inline constexpr std::size_t kHeaderSizeOffset = 6;
inline constexpr std::size_t kFileTimeOffset = 8;  // seconds since 1970-01-01 UTC
inline constexpr std::size_t kNameOffset = 16;
inline constexpr std::size_t kNameFieldSize = 260;  // NUL-terminated
inline constexpr std::size_t kUncompressedSizeOffset = 276;
inline constexpr std::size_t kCompressedSizeOffset = 280;
inline constexpr std::size_t kChecksumOffset = 284;  // 0: not compared
inline constexpr std::size_t kMethodOffset = 292;
inline constexpr std::size_t kMethodParameterOffset = 296;
inline constexpr std::size_t kDestinationIdOffset = 300;  // signed 16-bit
inline constexpr std::size_t kAttributesOffset = 302;     // low byte: DOS bits
inline constexpr std::size_t kContinuedOffset = 304;      // signed 16-bit, nonzero: data runs into the next volume

}  // namespace archive_layout

// One 346-byte entry header, kept as the bytes it is read from or written as,
// so that the fields the reader does not interpret travel unchanged.
class ArchiveEntryHeader {
 public:
  using Bytes = std::array<uint8_t, archive_layout::kEntryHeaderSize>;

  // A fresh header: magic "mfen", version 1, header size 346, everything else 0.
  ArchiveEntryHeader();

  Bytes& Raw() { return bytes_; }
  const Bytes& Raw() const { return bytes_; }

  bool HasEntryMagic() const;

  uint32_t FileTime() const { return Get32(archive_layout::kFileTimeOffset); }
  void SetFileTime(uint32_t seconds) { Put32(archive_layout::kFileTimeOffset, seconds); }

  // The name field up to its NUL, or all 260 bytes when a damaged header has none.
  std::string Name() const;
  // Stores name NUL-terminated and clears the rest of the field. A name that
  // does not fit (259 bytes at most) raises std::length_error: a cut name would
  // name another file.
  void SetName(std::string_view name);

  uint32_t UncompressedSize() const { return Get32(archive_layout::kUncompressedSizeOffset); }
  void SetUncompressedSize(uint32_t size) { Put32(archive_layout::kUncompressedSizeOffset, size); }
  uint32_t CompressedSize() const { return Get32(archive_layout::kCompressedSizeOffset); }
  void SetCompressedSize(uint32_t size) { Put32(archive_layout::kCompressedSizeOffset, size); }
  uint32_t Checksum() const { return Get32(archive_layout::kChecksumOffset); }
  void SetChecksum(uint32_t checksum) { Put32(archive_layout::kChecksumOffset, checksum); }
  uint32_t Method() const { return Get32(archive_layout::kMethodOffset); }
  void SetMethod(uint32_t method) { Put32(archive_layout::kMethodOffset, method); }
  uint32_t MethodParameter() const { return Get32(archive_layout::kMethodParameterOffset); }
  void SetMethodParameter(uint32_t parameter) { Put32(archive_layout::kMethodParameterOffset, parameter); }
  int16_t DestinationId() const { return static_cast<int16_t>(Get16(archive_layout::kDestinationIdOffset)); }
  void SetDestinationId(int16_t id) { Put16(archive_layout::kDestinationIdOffset, static_cast<uint16_t>(id)); }
  uint16_t Attributes() const { return Get16(archive_layout::kAttributesOffset); }
  void SetAttributes(uint16_t attributes) { Put16(archive_layout::kAttributesOffset, attributes); }
  int16_t Continued() const { return static_cast<int16_t>(Get16(archive_layout::kContinuedOffset)); }
  void SetContinued(int16_t continued) { Put16(archive_layout::kContinuedOffset, static_cast<uint16_t>(continued)); }

 private:
  uint16_t Get16(std::size_t offset) const;
  uint32_t Get32(std::size_t offset) const;
  void Put16(std::size_t offset, uint16_t value);
  void Put32(std::size_t offset, uint32_t value);

  Bytes bytes_{};
};

// The name and extension of a name that may hold a directory part ("A\B\C.DLL"
// gives "C.DLL"): whatever follows the last '\', '/' or drive colon.
std::string NameAndExtension(std::string_view name);
