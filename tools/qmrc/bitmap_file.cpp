#include "tools/qmrc/bitmap_file.h"

#include <strings.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace qmrc {
namespace {

namespace fs = std::filesystem;

std::uint32_t Le32(const std::vector<std::uint8_t>& bytes, size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::uint16_t Le16(const std::vector<std::uint8_t>& bytes, size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

constexpr size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSizes[] = {40, 52, 56, 64, 108, 124};
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

}  // namespace

fs::path ResolveResourceFile(const fs::path& scriptDirectory, const std::string& name) {
  std::string portable = name;
  std::replace(portable.begin(), portable.end(), '\\', '/');
  const fs::path wanted = fs::path(portable).is_absolute() ? fs::path(portable) : scriptDirectory / portable;
  std::error_code ec;
  if (fs::exists(wanted, ec)) return wanted.lexically_normal();

  // Walk the path one part at a time, matching each part ignoring case.
  fs::path found;
  for (const fs::path& part : wanted.lexically_normal()) {
    const fs::path exact = found / part;
    if (found.empty() || part == ".." || fs::exists(exact, ec)) {
      found = exact;
      continue;
    }
    bool matched = false;
    for (const fs::directory_entry& entry : fs::directory_iterator(found, ec)) {
      if (::strcasecmp(entry.path().filename().c_str(), part.c_str()) == 0) {
        found = entry.path();
        matched = true;
        break;
      }
    }
    if (!matched) return wanted;
  }
  return found;
}

std::string BitmapProblem(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < kFileHeaderSize + kCoreHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
    return "not a BMP file (it does not start with \"BM\")";
  }
  if (Le32(bytes, 2) != bytes.size()) {
    return "damaged BMP file: its header gives the size " + std::to_string(Le32(bytes, 2)) + ", the file has " +
           std::to_string(bytes.size()) + " bytes";
  }
  const std::uint32_t headerSize = Le32(bytes, kFileHeaderSize);
  const std::uint32_t pixelOffset = Le32(bytes, 10);
  std::int64_t width = 0;
  std::int64_t height = 0;
  unsigned bitCount = 0;
  std::uint32_t compression = kUncompressed;
  if (headerSize == kCoreHeaderSize) {
    width = Le16(bytes, 18);
    height = Le16(bytes, 20);
    bitCount = Le16(bytes, 24);
  } else if (std::find(std::begin(kInfoHeaderSizes), std::end(kInfoHeaderSizes), headerSize) !=
                 std::end(kInfoHeaderSizes) &&
             bytes.size() >= kFileHeaderSize + headerSize) {
    width = static_cast<std::int32_t>(Le32(bytes, 18));
    height = static_cast<std::int32_t>(Le32(bytes, 22));
    bitCount = Le16(bytes, 28);
    compression = Le32(bytes, 30);
  } else {
    return "damaged BMP file: unknown header size " + std::to_string(headerSize);
  }
  if (width <= 0 || height == 0) return "damaged BMP file: empty picture";
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    return "damaged BMP file: " + std::to_string(bitCount) + " bits per pixel";
  }
  if (pixelOffset < kFileHeaderSize + headerSize || pixelOffset >= bytes.size()) {
    return "damaged BMP file: pixel data offset " + std::to_string(pixelOffset) + " outside the file";
  }
  if (compression == kUncompressed || compression == kBitFields) {
    const std::uint64_t rowBytes = ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
    const std::uint64_t rows = static_cast<std::uint64_t>(height < 0 ? -height : height);
    const std::uint64_t available = bytes.size() - pixelOffset;
    if (rows > available / rowBytes) {  // divided, so that a huge header cannot overflow the product
      return "damaged BMP file: the pixels need " + std::to_string(rowBytes) + " x " + std::to_string(rows) +
             " bytes, the file holds " + std::to_string(available);
    }
  }
  return {};
}

std::vector<std::uint8_t> LoadBitmapFile(const fs::path& file, const SourceLocation& statement) {
  std::ifstream in(file, std::ios::binary);
  std::error_code ec;
  if (!in || fs::is_directory(file, ec)) throw CompileError(statement, "cannot open bitmap file '" + file.string() + "'");
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw CompileError(statement, "cannot read bitmap file '" + file.string() + "'");
  const std::string problem = BitmapProblem(bytes);
  if (!problem.empty()) throw CompileError(statement, file.string() + ": " + problem);
  return bytes;
}

}  // namespace qmrc
