#pragma once
// Shared helpers of the version-resource tests: the committed PE fixtures and
// the offsets of the fields the damage tests corrupt, found by walking the
// fixture's headers independently of the code under test.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/version/version_info.h"
#include "tests/common/temp_dir.h"

namespace platform::version_test {

using Bytes = std::vector<uint8_t>;

inline Bytes ReadFixture(const std::string& name) {
  std::ifstream in(std::string(QM_TEST_DATA_DIR) + "/pe/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

inline uint16_t Get16(const Bytes& b, std::size_t at) {
  return static_cast<uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}
inline uint32_t Get32(const Bytes& b, std::size_t at) {
  return Get16(b, at) | (static_cast<uint32_t>(Get16(b, at + 2)) << 16);
}
inline void Put16(Bytes& b, std::size_t at, uint16_t v) {
  b.at(at) = static_cast<uint8_t>(v);
  b.at(at + 1) = static_cast<uint8_t>(v >> 8);
}
inline void Put32(Bytes& b, std::size_t at, uint32_t v) {
  Put16(b, at, static_cast<uint16_t>(v));
  Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

// The version resource of a file holding these bytes. Each call writes a new
// file and removes it: rewriting one file in place makes some file systems flush
// it on close, which turns thousands of small cases into minutes.
inline std::optional<Bytes> ReadVersionResourceOfBytes(const qmtest::TempDir& dir, const Bytes& bytes) {
  static unsigned serial = 0;
  const auto path = dir.Path() / ("case" + std::to_string(++serial) + ".dll");
  WriteBytes(path, bytes);
  auto block = ReadVersionResource(path);
  std::filesystem::remove(path);
  return block;
}

// File offsets of the fields along the road to the version resource of a sound
// fixture whose version resource lies in its resource section.
struct PeLayout {
  std::size_t peHeader = 0;         // "PE\0\0"
  std::size_t optionalHeader = 0;
  std::size_t rvaCount = 0;         // NumberOfRvaAndSizes
  std::size_t resourceDirectory = 0;  // data directory 2: RVA, size
  std::size_t sectionTable = 0;
  std::size_t resourceSection = 0;  // its section header
  std::size_t resourceRoot = 0;     // the resource directory tree's root
  uint32_t resourceRva = 0;
  std::size_t typeEntry = 0;        // the root entry of type 16
  std::size_t nameDirectory = 0;
  std::size_t languageDirectory = 0;
  std::size_t dataEntry = 0;
  std::size_t data = 0;             // the version block
  uint32_t dataSize = 0;

  explicit PeLayout(const Bytes& pe) {
    peHeader = Get32(pe, 0x3C);
    optionalHeader = peHeader + 24;
    const bool plus = Get16(pe, optionalHeader) == 0x20B;
    rvaCount = optionalHeader + (plus ? 108 : 92);
    resourceDirectory = rvaCount + 4 + 2 * 8;
    resourceRva = Get32(pe, resourceDirectory);
    sectionTable = optionalHeader + Get16(pe, peHeader + 4 + 16);
    const std::size_t sections = Get16(pe, peHeader + 4 + 2);
    for (std::size_t i = 0; i < sections; ++i) {
      const std::size_t header = sectionTable + i * 40;
      if (Get32(pe, header + 12) == resourceRva) {
        resourceSection = header;
        resourceRoot = Get32(pe, header + 20);
      }
    }
    EXPECT_NE(resourceRoot, 0u) << "the resource directory starts a section";
    const std::size_t ids = Get16(pe, resourceRoot + 14);
    const std::size_t named = Get16(pe, resourceRoot + 12);
    for (std::size_t i = named; i < named + ids; ++i) {
      const std::size_t entry = resourceRoot + 16 + i * 8;
      if (Get32(pe, entry) == 16) typeEntry = entry;
    }
    EXPECT_NE(typeEntry, 0u) << "a version resource";
    nameDirectory = resourceRoot + (Get32(pe, typeEntry + 4) & 0x7FFFFFFF);
    languageDirectory = resourceRoot + (Get32(pe, nameDirectory + 16 + 4) & 0x7FFFFFFF);
    dataEntry = resourceRoot + Get32(pe, languageDirectory + 16 + 4);
    data = resourceRoot + (Get32(pe, dataEntry) - resourceRva);
    dataSize = Get32(pe, dataEntry + 4);
  }
};

// The fixtures that carry a version resource.
inline const std::vector<std::string>& VersionedFixtures() {
  static const std::vector<std::string> names = {
      "ver1234_pe32.dll", "ver2001_pe32.exe", "ver1999_pe64.dll", "ver1234_pe64.exe",
      "mixed_pe64.exe"};
  return names;
}

}  // namespace platform::version_test
