#pragma once
// The LZH archive container, just enough of it to hand a raw -lh5- stream to
// other programs and to take streams out of their archives: a one-entry
// archive with a level-0 header, and a reader for header levels 0, 1 and 2.
// Free of GoogleTest, so the benchmarks use it too.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qmtest {

// The CRC-16 that LZH headers carry for an entry's original bytes (reflected
// polynomial 0xA001, initial value 0). Pass the previous value to continue.
std::uint16_t LzhCrc16(std::string_view data, std::uint16_t crc = 0);

struct LzhEntry {
  std::string method;  // "-lh5-", "-lh0-", ...
  std::string name;
  int level = 0;
  std::uint32_t originalSize = 0;
  std::uint16_t crc16 = 0;
  std::string data;  // the packed bytes, without any extended header
};

// A one-entry archive with a level-0 header in front of packed, which holds
// original (originalCrc16 and originalSize describe it) coded with method.
// The name must fit the header (at most 200 characters).
std::string WrapInLzh(std::string_view packed, std::uint32_t originalSize, std::uint16_t originalCrc16,
                      std::string_view name = "data.bin", std::string_view method = "-lh5-");
inline std::string WrapInLzh(std::string_view packed, std::string_view original, std::string_view name = "data.bin",
                             std::string_view method = "-lh5-") {
  return WrapInLzh(packed, static_cast<std::uint32_t>(original.size()), LzhCrc16(original), name, method);
}

// Every entry of an archive up to its end mark (a zero byte) or its end.
// Throws std::runtime_error for a header that runs past the archive or an
// unknown header level.
std::vector<LzhEntry> ParseLzh(std::string_view archive);

}  // namespace qmtest
