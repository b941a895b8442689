#include "platform/version/pe_resource_locator.h"

#include <algorithm>
#include <array>

#include "platform/version/little_endian.h"

namespace platform {

namespace {

constexpr uint16_t kDosMagic = 0x5A4D;          // "MZ"
constexpr uint32_t kPeSignature = 0x00004550;   // "PE\0\0"
constexpr uint16_t kPe32Magic = 0x010B;
constexpr uint16_t kPe32PlusMagic = 0x020B;
constexpr uint64_t kDosLfanewOffset = 0x3C;
constexpr uint64_t kCoffHeaderSize = 20;
constexpr uint64_t kSectionHeaderSize = 40;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint64_t kDataDirectorySize = 8;
// Where NumberOfRvaAndSizes lies in the optional header; the directories follow it.
constexpr uint64_t kRvaCountOffsetPe32 = 92;
constexpr uint64_t kRvaCountOffsetPe32Plus = 108;

constexpr uint64_t kResourceDirectorySize = 16;
constexpr uint64_t kResourceEntrySize = 8;
constexpr uint64_t kResourceDataEntrySize = 16;
// In a directory entry: the name is a string, or the entry leads to a subdirectory.
constexpr uint32_t kHighBit = 0x80000000u;

// One section's bytes that are backed by the file.
struct SectionSpan {
  uint32_t virtualAddress = 0;
  uint32_t length = 0;  // bytes of the section present in the file
  uint64_t fileOffset = 0;
};

// The bytes of a range [rva, rva + length) when it lies wholly in one section's
// file data.
class ImageReader {
 public:
  ImageReader(HostFileReader& file, uint64_t sectionTable, uint16_t sectionCount)
      : file_(file), sectionTable_(sectionTable), sectionCount_(sectionCount) {}

  // The section whose file data holds rva, trimmed to the part in the file.
  // The first match wins, as sections of a sound image do not overlap.
  std::optional<SectionSpan> SectionOf(uint32_t rva) {
    for (uint16_t i = 0; i < sectionCount_; ++i) {
      std::array<uint8_t, kSectionHeaderSize> header{};
      if (!file_.ReadAt(sectionTable_ + i * kSectionHeaderSize, header.size(), header.data()))
        return std::nullopt;  // a section table cut off by the end of the file
      const uint32_t virtualSize = le::U32(&header[8]);
      const uint32_t virtualAddress = le::U32(&header[12]);
      const uint32_t rawSize = le::U32(&header[16]);
      const uint32_t rawOffset = le::U32(&header[20]);
      // Bytes past VirtualSize are not part of the image; some linkers leave it 0.
      uint64_t length = virtualSize != 0 ? std::min(virtualSize, rawSize) : rawSize;
      if (rawOffset >= file_.Size()) continue;
      length = std::min<uint64_t>(length, file_.Size() - rawOffset);
      if (rva < virtualAddress || rva - virtualAddress >= length) continue;
      return SectionSpan{virtualAddress, static_cast<uint32_t>(length), rawOffset};
    }
    return std::nullopt;
  }

 private:
  HostFileReader& file_;
  uint64_t sectionTable_;
  uint16_t sectionCount_;
};

// Reads of the resource tree, whose offsets count from the start of the
// resource directory and must stay inside the section that holds it.
class ResourceTree {
 public:
  ResourceTree(HostFileReader& file, uint64_t fileOffset, uint32_t length)
      : file_(file), fileOffset_(fileOffset), length_(length) {}

  bool Read(uint32_t offset, uint64_t count, uint8_t* out) const {
    if (count > length_ || offset > length_ - count) return false;
    return file_.ReadAt(fileOffset_ + offset, count, out);
  }

  struct Entry {
    uint32_t name;   // an id, or a string offset with the high bit set
    uint32_t target; // a data entry, or a subdirectory with the high bit set
  };

  // The number of entries of a directory: the named ones come first, then the ids.
  std::optional<std::pair<uint32_t, uint32_t>> Counts(uint32_t directory) const {
    std::array<uint8_t, kResourceDirectorySize> header{};
    if (!Read(directory, header.size(), header.data())) return std::nullopt;
    return std::pair<uint32_t, uint32_t>{le::U16(&header[12]), le::U16(&header[14])};
  }

  std::optional<Entry> EntryAt(uint32_t directory, uint32_t index) const {
    std::array<uint8_t, kResourceEntrySize> raw{};
    const uint64_t offset = directory + kResourceDirectorySize + index * kResourceEntrySize;
    if (offset > UINT32_MAX || !Read(static_cast<uint32_t>(offset), raw.size(), raw.data()))
      return std::nullopt;
    return Entry{le::U32(&raw[0]), le::U32(&raw[4])};
  }

  // The subdirectory of the entry with this id.
  std::optional<uint32_t> FindIdDirectory(uint32_t directory, uint32_t id) const {
    const auto counts = Counts(directory);
    if (!counts) return std::nullopt;
    const auto [named, ids] = *counts;
    for (uint32_t i = named; i < named + ids; ++i) {
      const auto entry = EntryAt(directory, i);
      if (!entry) return std::nullopt;  // the entry array runs out of the section
      if (entry->name == id) return SubdirectoryOf(*entry);
    }
    return std::nullopt;
  }

  // The first entry, named or not.
  std::optional<Entry> FirstEntry(uint32_t directory) const {
    const auto counts = Counts(directory);
    if (!counts || counts->first + counts->second == 0) return std::nullopt;
    return EntryAt(directory, 0);
  }

  static std::optional<uint32_t> SubdirectoryOf(const Entry& entry) {
    if ((entry.target & kHighBit) == 0) return std::nullopt;
    return entry.target & ~kHighBit;
  }

 private:
  HostFileReader& file_;
  uint64_t fileOffset_;
  uint32_t length_;
};

struct ImageHeaders {
  uint64_t sectionTable = 0;
  uint16_t sectionCount = 0;
  uint32_t resourceRva = 0;
  uint32_t resourceSize = 0;
};

std::optional<ImageHeaders> ReadImageHeaders(HostFileReader& file) {
  std::array<uint8_t, 4> field{};
  if (!file.ReadAt(0, 2, field.data()) || le::U16(field.data()) != kDosMagic) return std::nullopt;
  if (!file.ReadAt(kDosLfanewOffset, 4, field.data())) return std::nullopt;
  const uint64_t peOffset = le::U32(field.data());

  std::array<uint8_t, 4 + kCoffHeaderSize> pe{};
  if (!file.ReadAt(peOffset, pe.size(), pe.data()) || le::U32(&pe[0]) != kPeSignature)
    return std::nullopt;
  const uint16_t sectionCount = le::U16(&pe[4 + 2]);
  const uint16_t optionalHeaderSize = le::U16(&pe[4 + 16]);
  const uint64_t optionalHeader = peOffset + pe.size();

  if (optionalHeaderSize < 2 || !file.ReadAt(optionalHeader, 2, field.data())) return std::nullopt;
  uint64_t rvaCountOffset = 0;
  switch (le::U16(field.data())) {
    case kPe32Magic: rvaCountOffset = kRvaCountOffsetPe32; break;
    case kPe32PlusMagic: rvaCountOffset = kRvaCountOffsetPe32Plus; break;
    default: return std::nullopt;
  }
  // The directory must be both counted and inside the optional header.
  const uint64_t directory = rvaCountOffset + 4 + kResourceDirectoryIndex * kDataDirectorySize;
  if (directory + kDataDirectorySize > optionalHeaderSize) return std::nullopt;
  if (!file.ReadAt(optionalHeader + rvaCountOffset, 4, field.data()) ||
      le::U32(field.data()) <= kResourceDirectoryIndex)
    return std::nullopt;
  std::array<uint8_t, kDataDirectorySize> entry{};
  if (!file.ReadAt(optionalHeader + directory, entry.size(), entry.data())) return std::nullopt;

  ImageHeaders headers;
  headers.sectionTable = optionalHeader + optionalHeaderSize;
  // A section table that runs past the end of the file is a damaged header,
  // whichever section the lookup would have stopped at.
  if (headers.sectionTable + sectionCount * kSectionHeaderSize > file.Size()) return std::nullopt;
  headers.sectionCount = sectionCount;
  headers.resourceRva = le::U32(&entry[0]);
  headers.resourceSize = le::U32(&entry[4]);
  return headers;
}

}  // namespace

std::optional<FileSpan> FindFirstResource(HostFileReader& file, uint32_t typeId) {
  const auto headers = ReadImageHeaders(file);
  if (!headers || headers->resourceRva == 0 || headers->resourceSize == 0) return std::nullopt;
  ImageReader image(file, headers->sectionTable, headers->sectionCount);

  const auto section = image.SectionOf(headers->resourceRva);
  if (!section) return std::nullopt;
  const uint32_t skip = headers->resourceRva - section->virtualAddress;
  const ResourceTree tree(file, section->fileOffset + skip, section->length - skip);

  const auto names = tree.FindIdDirectory(0, typeId);
  if (!names) return std::nullopt;
  const auto name = tree.FirstEntry(*names);
  if (!name) return std::nullopt;
  const auto languages = ResourceTree::SubdirectoryOf(*name);
  if (!languages) return std::nullopt;
  const auto language = tree.FirstEntry(*languages);
  if (!language || (language->target & kHighBit) != 0) return std::nullopt;

  std::array<uint8_t, kResourceDataEntrySize> dataEntry{};
  if (!tree.Read(language->target, dataEntry.size(), dataEntry.data())) return std::nullopt;
  const uint32_t dataRva = le::U32(&dataEntry[0]);
  const uint32_t dataSize = le::U32(&dataEntry[4]);
  if (dataSize == 0) return std::nullopt;

  // The data may lie in any section, but wholly inside the one that holds its start.
  const auto dataSection = image.SectionOf(dataRva);
  if (!dataSection) return std::nullopt;
  const uint32_t into = dataRva - dataSection->virtualAddress;
  if (dataSize > dataSection->length - into) return std::nullopt;
  return FileSpan{dataSection->fileOffset + into, dataSize};
}

}  // namespace platform
