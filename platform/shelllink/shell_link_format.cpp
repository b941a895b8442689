#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/shelllink/ansi_text.h"
#include "platform/shelllink/shell_link.h"

namespace platform {
namespace {

constexpr uint32_t kHeaderSize = 0x4C;
// {00021401-0000-0000-C000-000000000046} in its stored byte order.
constexpr std::array<uint8_t, 16> kLinkClsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

enum LinkFlag : uint32_t {
  kHasLinkTargetIdList = 0x01,
  kHasLinkInfo = 0x02,
  kHasName = 0x04,
  kHasRelativePath = 0x08,
  kHasWorkingDir = 0x10,
  kHasArguments = 0x20,
  kHasIconLocation = 0x40,
  kIsUnicode = 0x80,
};

constexpr uint32_t kVolumeIdAndLocalBasePath = 0x01;
constexpr uint32_t kLinkInfoHeaderSize = 0x1C;
// Header sizes from this one on carry the Unicode offsets of the base path and suffix.
constexpr uint32_t kLinkInfoHeaderSizeUnicode = 0x24;
constexpr uint32_t kVolumeIdHeaderSize = 0x10;

// ---- writing

void PutU16(std::string& out, uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

void PutU32(std::string& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutCountedString(std::string& out, std::string_view ansi) {
  const std::u16string text = AnsiToUtf16(ansi);
  if (text.size() > 0xFFFF) throw ShellLinkFormatError("a shell link text is longer than 65535 characters");
  PutU16(out, static_cast<uint16_t>(text.size()));
  for (char16_t unit : text) PutU16(out, unit);
}

std::string EncodeLinkInfo(const ShellLink& link) {
  const uint32_t volumeIdSize = kVolumeIdHeaderSize + 1;  // an empty label
  const uint32_t volumeIdOffset = kLinkInfoHeaderSize;
  const uint32_t basePathOffset = volumeIdOffset + volumeIdSize;
  const uint32_t suffixOffset = basePathOffset + static_cast<uint32_t>(link.target.size()) + 1;
  const uint32_t size = suffixOffset + 1;

  std::string out;
  PutU32(out, size);
  PutU32(out, kLinkInfoHeaderSize);
  PutU32(out, kVolumeIdAndLocalBasePath);
  PutU32(out, volumeIdOffset);
  PutU32(out, basePathOffset);
  PutU32(out, 0);  // no CommonNetworkRelativeLink
  PutU32(out, suffixOffset);
  PutU32(out, volumeIdSize);
  PutU32(out, link.driveType);
  PutU32(out, 0);  // serial number
  PutU32(out, kVolumeIdHeaderSize);
  out.push_back('\0');
  out.append(link.target);
  out.push_back('\0');
  out.push_back('\0');  // empty CommonPathSuffix
  return out;
}

// ---- reading: every access is checked against the bytes it reads from.

class Cursor {
 public:
  explicit Cursor(std::string_view bytes) : bytes_(bytes) {}

  std::size_t Offset() const { return offset_; }
  std::size_t Left() const { return bytes_.size() - offset_; }

  std::string_view Take(std::size_t length, const char* what) {
    if (length > Left()) throw ShellLinkFormatError(std::string("shell link cut short in ") + what);
    const std::string_view part = bytes_.substr(offset_, length);
    offset_ += length;
    return part;
  }
  uint16_t U16(const char* what) {
    const std::string_view p = Take(2, what);
    return static_cast<uint16_t>(Byte(p, 0) | (Byte(p, 1) << 8));
  }
  uint32_t U32(const char* what) {
    const std::string_view p = Take(4, what);
    return Byte(p, 0) | (Byte(p, 1) << 8) | (Byte(p, 2) << 16) | (Byte(p, 3) << 24);
  }

 private:
  static uint32_t Byte(std::string_view p, std::size_t i) { return static_cast<unsigned char>(p[i]); }

  std::string_view bytes_;
  std::size_t offset_ = 0;
};

std::string ReadCountedString(Cursor& in, bool unicode, const char* what) {
  const uint16_t count = in.U16(what);
  if (!unicode) return std::string(in.Take(count, what));
  std::u16string text;
  text.reserve(count);
  for (uint16_t i = 0; i < count; ++i) text.push_back(static_cast<char16_t>(in.U16(what)));
  return Utf16ToAnsi(text);
}

// A zero-terminated string starting at offset inside block.
std::string_view AnsiStringAt(std::string_view block, uint32_t offset, const char* what) {
  if (offset >= block.size()) throw ShellLinkFormatError(std::string("shell link ") + what + " lies outside its LinkInfo");
  const std::string_view rest = block.substr(offset);
  const std::size_t end = rest.find('\0');
  if (end == std::string_view::npos) throw ShellLinkFormatError(std::string("shell link ") + what + " has no end");
  return rest.substr(0, end);
}

std::string Utf16StringAt(std::string_view block, uint32_t offset, const char* what) {
  if (offset >= block.size()) throw ShellLinkFormatError(std::string("shell link ") + what + " lies outside its LinkInfo");
  Cursor in(block.substr(offset));
  std::u16string text;
  for (char16_t unit; (unit = static_cast<char16_t>(in.U16(what))) != 0;) text.push_back(unit);
  return Utf16ToAnsi(text);
}

void DecodeLinkInfo(std::string_view block, ShellLink& link) {
  Cursor in(block);
  in.U32("LinkInfo");  // the size, already applied by the caller
  const uint32_t headerSize = in.U32("LinkInfo");
  const uint32_t flags = in.U32("LinkInfo");
  const uint32_t volumeIdOffset = in.U32("LinkInfo");
  const uint32_t basePathOffset = in.U32("LinkInfo");
  in.U32("LinkInfo");  // CommonNetworkRelativeLink offset
  const uint32_t suffixOffset = in.U32("LinkInfo");
  if (headerSize < kLinkInfoHeaderSize || headerSize > block.size()) {
    throw ShellLinkFormatError("shell link LinkInfo header size is wrong");
  }
  if ((flags & kVolumeIdAndLocalBasePath) == 0) return;  // a network target: no local path

  if (volumeIdOffset > block.size()) throw ShellLinkFormatError("shell link VolumeID lies outside its LinkInfo");
  Cursor volume(block.substr(volumeIdOffset));
  const uint32_t volumeIdSize = volume.U32("VolumeID");
  if (volumeIdSize < kVolumeIdHeaderSize || volumeIdSize > block.size() - volumeIdOffset) {
    throw ShellLinkFormatError("shell link VolumeID size is wrong");
  }
  link.driveType = volume.U32("VolumeID");

  std::string basePath;
  std::string suffix;
  const bool hasUnicode = headerSize >= kLinkInfoHeaderSizeUnicode;
  const uint32_t basePathOffsetUnicode = hasUnicode ? in.U32("LinkInfo") : 0;
  const uint32_t suffixOffsetUnicode = hasUnicode ? in.U32("LinkInfo") : 0;
  basePath = basePathOffsetUnicode != 0 ? Utf16StringAt(block, basePathOffsetUnicode, "LocalBasePathUnicode")
                                        : std::string(AnsiStringAt(block, basePathOffset, "LocalBasePath"));
  if (suffixOffsetUnicode != 0) {
    suffix = Utf16StringAt(block, suffixOffsetUnicode, "CommonPathSuffixUnicode");
  } else if (suffixOffset != 0) {
    suffix = AnsiStringAt(block, suffixOffset, "CommonPathSuffix");
  }
  link.target = basePath;
  if (!suffix.empty()) {
    if (!link.target.empty() && link.target.back() != '\\') link.target.push_back('\\');
    link.target += suffix;
  }
}

}  // namespace

uint32_t StoredShowCommand(uint32_t showCommand) {
  switch (showCommand) {
    case kShowMaximized: return kShowMaximized;
    case kShowMinimized:
    case 6:  // SW_MINIMIZE
    case kShowMinNoActive: return kShowMinNoActive;
    default: return kShowNormal;
  }
}

std::string EncodeShellLink(const ShellLink& link) {
  uint32_t flags = kIsUnicode;
  if (!link.target.empty()) flags |= kHasLinkInfo;
  if (!link.name.empty()) flags |= kHasName;
  if (!link.workingDirectory.empty()) flags |= kHasWorkingDir;
  if (!link.arguments.empty()) flags |= kHasArguments;
  if (!link.iconLocation.empty()) flags |= kHasIconLocation;

  std::string out;
  PutU32(out, kHeaderSize);
  out.append(kLinkClsid.begin(), kLinkClsid.end());
  PutU32(out, flags);
  PutU32(out, 0);               // FileAttributes
  out.append(3 * 8 + 4, '\0');  // creation, access and write times, file size
  PutU32(out, static_cast<uint32_t>(link.iconIndex));
  PutU32(out, StoredShowCommand(link.showCommand));
  PutU16(out, link.hotKey);
  out.append(2 + 4 + 4, '\0');  // reserved

  if (flags & kHasLinkInfo) out += EncodeLinkInfo(link);
  if (flags & kHasName) PutCountedString(out, link.name);
  if (flags & kHasWorkingDir) PutCountedString(out, link.workingDirectory);
  if (flags & kHasArguments) PutCountedString(out, link.arguments);
  if (flags & kHasIconLocation) PutCountedString(out, link.iconLocation);
  PutU32(out, 0);  // terminal block
  return out;
}

ShellLink DecodeShellLink(std::string_view bytes) {
  Cursor in(bytes);
  if (in.Left() < kHeaderSize) throw ShellLinkFormatError("not a shell link: shorter than its header");
  if (in.U32("header") != kHeaderSize) throw ShellLinkFormatError("not a shell link: wrong header size");
  const std::string_view clsid = in.Take(kLinkClsid.size(), "header");
  if (clsid != std::string_view(reinterpret_cast<const char*>(kLinkClsid.data()), kLinkClsid.size())) {
    throw ShellLinkFormatError("not a shell link: wrong class id");
  }
  const uint32_t flags = in.U32("header");
  in.Take(4 + 3 * 8 + 4, "header");  // attributes, times, file size
  ShellLink link;
  link.iconIndex = static_cast<int32_t>(in.U32("header"));
  const uint32_t showCommand = in.U32("header");
  // Readers treat every value but these as normal.
  link.showCommand = showCommand == kShowMaximized || showCommand == kShowMinNoActive ? showCommand : kShowNormal;
  link.hotKey = in.U16("header");
  in.Take(2 + 4 + 4, "header");

  if (flags & kHasLinkTargetIdList) in.Take(in.U16("LinkTargetIDList"), "LinkTargetIDList");
  if (flags & kHasLinkInfo) {
    const uint32_t size = Cursor(bytes.substr(in.Offset())).U32("LinkInfo");
    if (size < kLinkInfoHeaderSize) throw ShellLinkFormatError("shell link LinkInfo size is wrong");
    DecodeLinkInfo(in.Take(size, "LinkInfo"), link);
  }
  const bool unicode = (flags & kIsUnicode) != 0;
  if (flags & kHasName) link.name = ReadCountedString(in, unicode, "NAME_STRING");
  if (flags & kHasRelativePath) ReadCountedString(in, unicode, "RELATIVE_PATH");
  if (flags & kHasWorkingDir) link.workingDirectory = ReadCountedString(in, unicode, "WORKING_DIR");
  if (flags & kHasArguments) link.arguments = ReadCountedString(in, unicode, "COMMAND_LINE_ARGUMENTS");
  if (flags & kHasIconLocation) link.iconLocation = ReadCountedString(in, unicode, "ICON_LOCATION");

  // Extra data blocks up to the terminal block, so that a file cut anywhere is noticed.
  for (;;) {
    const uint32_t blockSize = in.U32("ExtraData");
    if (blockSize < 4) break;
    in.Take(blockSize - 4, "ExtraData");
  }
  return link;
}

}  // namespace platform
