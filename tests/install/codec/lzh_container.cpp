#include "tests/install/codec/lzh_container.h"

#include <array>
#include <stdexcept>

namespace qmtest {
namespace {

constexpr std::array<std::uint16_t, 256> MakeCrc16Table() {
  std::array<std::uint16_t, 256> table{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned r = i;
    for (int bit = 0; bit < 8; ++bit) r = (r & 1) ? (r >> 1) ^ 0xA001 : r >> 1;
    table[i] = static_cast<std::uint16_t>(r);
  }
  return table;
}
constexpr std::array<std::uint16_t, 256> kCrc16Table = MakeCrc16Table();

void Put16(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// Reads little-endian fields and refuses to run past the archive.
class Cursor {
 public:
  explicit Cursor(std::string_view bytes) : bytes_(bytes) {}

  void Need(std::size_t offset, std::size_t count) const {
    if (offset > bytes_.size() || count > bytes_.size() - offset)
      throw std::runtime_error("LZH header runs past the end of the archive");
  }
  unsigned U8(std::size_t offset) const {
    Need(offset, 1);
    return static_cast<unsigned char>(bytes_[offset]);
  }
  unsigned U16(std::size_t offset) const { return U8(offset) | (U8(offset + 1) << 8); }
  std::uint32_t U32(std::size_t offset) const { return U16(offset) | (std::uint32_t{U16(offset + 2)} << 16); }
  std::string_view Bytes(std::size_t offset, std::size_t count) const {
    Need(offset, count);
    return bytes_.substr(offset, count);
  }

 private:
  std::string_view bytes_;
};

// Extended headers (levels 1 and 2): a chain of [type, payload, next size]
// whose first size is stored just before it. Returns the bytes they take and
// picks up a file name (type 1) on the way.
std::size_t SkipExtendedHeaders(const Cursor& in, std::size_t sizeOffset, LzhEntry& entry) {
  std::size_t total = 0;
  std::size_t at = sizeOffset + 2;
  for (unsigned size = in.U16(sizeOffset); size != 0; size = in.U16(at - 2)) {
    if (size < 3) throw std::runtime_error("LZH extended header shorter than its own fields");
    if (in.U8(at) == 1) entry.name = std::string(in.Bytes(at + 1, size - 3));
    in.Need(at, size);
    at += size;
    total += size;
  }
  return total;
}

}  // namespace

std::uint16_t LzhCrc16(std::string_view data, std::uint16_t crc) {
  for (unsigned char byte : data) crc = static_cast<std::uint16_t>(kCrc16Table[(crc ^ byte) & 0xFF] ^ (crc >> 8));
  return crc;
}

std::string WrapInLzh(std::string_view packed, std::uint32_t originalSize, std::uint16_t originalCrc16,
                      std::string_view name, std::string_view method) {
  if (name.size() > 200) throw std::invalid_argument("LZH level-0 names are short");
  if (method.size() != 5) throw std::invalid_argument("LZH methods have five characters");
  // 2020-01-01 00:00:00 as an MS-DOS date and time: the peers only show it.
  constexpr std::uint32_t kDosTime = ((40u << 9) | (1u << 5) | 1u) << 16;

  std::string header;
  header += method;
  Put32(header, static_cast<std::uint32_t>(packed.size()));
  Put32(header, originalSize);
  Put32(header, kDosTime);
  header += static_cast<char>(0x20);  // the archive attribute, as DOS archivers set it
  header += static_cast<char>(0);     // header level
  header += static_cast<char>(name.size());
  header += name;
  Put16(header, originalCrc16);

  unsigned sum = 0;
  for (unsigned char byte : header) sum += byte;
  std::string archive;
  archive += static_cast<char>(header.size());
  archive += static_cast<char>(sum & 0xFF);
  archive += header;
  archive += packed;
  archive += '\0';  // end of archive
  return archive;
}

std::vector<LzhEntry> ParseLzh(std::string_view archive) {
  const Cursor in(archive);
  std::vector<LzhEntry> entries;
  std::size_t at = 0;
  while (at < archive.size() && archive[at] != '\0') {
    LzhEntry entry;
    entry.method = std::string(in.Bytes(at + 2, 5));
    std::uint32_t packed = in.U32(at + 7);
    entry.originalSize = in.U32(at + 11);
    entry.level = static_cast<int>(in.U8(at + 20));
    std::size_t dataStart = 0;
    switch (entry.level) {
      case 0:
      case 1: {
        const std::size_t nameLength = in.U8(at + 21);
        entry.name = std::string(in.Bytes(at + 22, nameLength));
        entry.crc16 = static_cast<std::uint16_t>(in.U16(at + 22 + nameLength));
        dataStart = at + 2 + in.U8(at);
        if (entry.level == 1) {
          // Level 1 counts its extended headers in the packed size.
          const std::size_t extended = SkipExtendedHeaders(in, dataStart - 2, entry);
          if (extended > packed) throw std::runtime_error("LZH extended headers larger than the entry");
          packed -= static_cast<std::uint32_t>(extended);
          dataStart += extended;
        }
        break;
      }
      case 2:
        if (in.U16(at) < 26) throw std::runtime_error("LZH level-2 header shorter than its fixed fields");
        entry.crc16 = static_cast<std::uint16_t>(in.U16(at + 21));
        SkipExtendedHeaders(in, at + 24, entry);
        dataStart = at + in.U16(at);
        break;
      default:
        throw std::runtime_error("unknown LZH header level " + std::to_string(entry.level));
    }
    entry.data = std::string(in.Bytes(dataStart, packed));
    at = dataStart + packed;
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace qmtest
