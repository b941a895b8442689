#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/version/version_info.h"
#include "tests/common/temp_dir.h"
#include "tests/platform/version_test_support.h"

namespace platform {
namespace {

using version_test::Bytes;
using version_test::Get16;
using version_test::PeLayout;
using version_test::Put16;
using version_test::Put32;
using version_test::ReadFixture;
using version_test::ReadVersionResourceOfBytes;
using qmtest::TempDir;
using version_test::WriteBytes;

std::string Utf16(std::string_view ascii) {
  std::string out;
  for (char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

bool Contains(const Bytes& block, const std::string& needle) {
  return std::search(block.begin(), block.end(), needle.begin(), needle.end()) != block.end();
}

struct Expected {
  const char* fixture;
  uint32_t fileMS, fileLS, productMS, productLS;
  uint32_t fileFlags, fileOS, fileType;
  const char* versionText;  // the StringFileInfo text, to show the whole block was read
};

void PrintTo(const Expected& e, std::ostream* out) { *out << e.fixture; }

class VersionFixture : public testing::TestWithParam<Expected> {};

TEST_P(VersionFixture, ReadsTheFixedFileInfoOfARealPeFile) {
  const Expected& e = GetParam();
  const auto block = ReadVersionResource(std::string(QM_TEST_DATA_DIR) + "/pe/" + e.fixture);
  ASSERT_TRUE(block);
  EXPECT_EQ(block->size(), PeLayout(ReadFixture(e.fixture)).dataSize);
  EXPECT_LE(Get16(*block, 0), block->size());
  EXPECT_TRUE(Contains(*block, Utf16(e.versionText)));

  FixedFileInfo info{};
  ASSERT_TRUE(QueryFixedFileInfo(block->data(), block->size(), info));
  EXPECT_EQ(info.signature, kFixedFileInfoSignature);
  EXPECT_EQ(info.strucVersion, 0x10000u);
  EXPECT_EQ(info.fileVersionMS, e.fileMS);
  EXPECT_EQ(info.fileVersionLS, e.fileLS);
  EXPECT_EQ(info.productVersionMS, e.productMS);
  EXPECT_EQ(info.productVersionLS, e.productLS);
  EXPECT_EQ(info.fileFlagsMask, 0x3Fu);
  EXPECT_EQ(info.fileFlags, e.fileFlags);
  EXPECT_EQ(info.fileOS, e.fileOS);
  EXPECT_EQ(info.fileType, e.fileType);
  EXPECT_EQ(info.fileSubtype, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, VersionFixture,
    testing::Values(
        Expected{"ver1234_pe32.dll", 0x00010002, 0x00030004, 0x00010002, 0, 0, 0x40004, 2, "1.2.3.4"},
        Expected{"ver2001_pe32.exe", 0x00020000, 0x00000001, 0x00020000, 0, 0, 0x40004, 1, "2.0.0.1"},
        Expected{"ver1999_pe64.dll", 0x00010009, 0x00090009, 0x00010009, 0, 1, 0x40004, 2, "1.9.9.9"},
        Expected{"ver1234_pe64.exe", 0x00010002, 0x00030004, 0x00010002, 0, 0, 0x40004, 2, "1.2.3.4"},
        // A named version entry in German among other resource types.
        Expected{"mixed_pe64.exe", 0x0003000A, 0xFFFF0000, 0x0003000A, 0, 0, 0x4, 1, "3.10.65535.0"}),
    [](const testing::TestParamInfo<Expected>& info) {
      std::string name = info.param.fixture;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(VersionResource, PeFilesWithoutAVersionResourceHaveNone) {
  // One without any resources, one with resources of other types only.
  EXPECT_FALSE(ReadVersionResource(std::string(QM_TEST_DATA_DIR) + "/pe/noversion_pe32.exe"));
  EXPECT_FALSE(ReadVersionResource(std::string(QM_TEST_DATA_DIR) + "/pe/noversion_pe64.dll"));
}

TEST(VersionResource, ForeignAndMissingFilesHaveNone) {
  TempDir dir{"qm-version"};
  const auto file = [&](const std::string& name, const Bytes& bytes) {
    WriteBytes(dir.Path() / name, bytes);
    return dir.Path() / name;
  };
  const std::string text = "MZ is not enough; this is a text file\n";
  Bytes mzHeader(64, 0);
  mzHeader[0] = 'M';
  mzHeader[1] = 'Z';

  EXPECT_FALSE(ReadVersionResource(file("empty", {})));
  EXPECT_FALSE(ReadVersionResource(file("text.txt", Bytes(text.begin(), text.end()))));
  EXPECT_FALSE(ReadVersionResource(file("mz", {'M', 'Z'})));
  // e_lfanew 0 points back at "MZ", which is not "PE\0\0".
  EXPECT_FALSE(ReadVersionResource(file("mz64", mzHeader)));
  EXPECT_FALSE(ReadVersionResource(dir.Path() / "missing.dll"));
  EXPECT_FALSE(ReadVersionResource(dir.Path()));
  // A FIFO must neither block the open nor be read.
  ASSERT_EQ(::mkfifo((dir.Path() / "fifo").c_str(), 0600), 0);
  EXPECT_FALSE(ReadVersionResource(dir.Path() / "fifo"));
}

TEST(VersionResource, EveryTruncationThatCutsTheBlockAnswersNone) {
  TempDir dir{"qm-version"};
  for (const char* name : {"ver1234_pe32.dll", "ver1999_pe64.dll"}) {
    const Bytes pe = ReadFixture(name);
    const PeLayout layout(pe);
    const auto whole = ReadVersionResource(std::string(QM_TEST_DATA_DIR) + "/pe/" + name);
    ASSERT_TRUE(whole);
    for (std::size_t length = 0; length < pe.size(); ++length) {
      const auto block = ReadVersionResourceOfBytes(
          dir, Bytes(pe.begin(), pe.begin() + static_cast<std::ptrdiff_t>(length)));
      if (length < layout.data + layout.dataSize) {
        EXPECT_FALSE(block) << name << " cut to " << length;
      } else {
        // Only the section's padding is gone.
        EXPECT_EQ(block, whole) << name << " cut to " << length;
      }
    }
  }
}

struct Damage {
  const char* what;
  std::function<void(Bytes&, const PeLayout&)> apply;
};

// Each damage to a sound file must answer "no version information".
const std::vector<Damage>& Damages() {
  static const std::vector<Damage> damages = {
      {"e_lfanew far past the end", [](Bytes& b, const PeLayout&) { Put32(b, 0x3C, 0xFFFFFFF0); }},
      {"e_lfanew just before the end",
       [](Bytes& b, const PeLayout&) { Put32(b, 0x3C, static_cast<uint32_t>(b.size() - 2)); }},
      {"PE signature", [](Bytes& b, const PeLayout& l) { b[l.peHeader + 1] = 'X'; }},
      {"optional header magic", [](Bytes& b, const PeLayout& l) { Put16(b, l.optionalHeader, 0x107); }},
      {"PE32 magic in a PE32+ header or the reverse",
       [](Bytes& b, const PeLayout& l) { Put16(b, l.optionalHeader, Get16(b, l.optionalHeader) ^ 0x30B); }},
      {"optional header too short for the resource directory",
       [](Bytes& b, const PeLayout& l) {
         Put16(b, l.peHeader + 4 + 16, static_cast<uint16_t>(l.resourceDirectory - l.optionalHeader + 4));
       }},
      {"only two data directories", [](Bytes& b, const PeLayout& l) { Put32(b, l.rvaCount, 2); }},
      {"resource RVA in no section",
       [](Bytes& b, const PeLayout& l) { Put32(b, l.resourceDirectory, 0x7FFFF000); }},
      {"no sections", [](Bytes& b, const PeLayout& l) { Put16(b, l.peHeader + 4 + 2, 0); }},
      {"section count running past the end of the file",
       [](Bytes& b, const PeLayout& l) { Put16(b, l.peHeader + 4 + 2, 0xFFFF); }},
      {"resource section data past the end of the file",
       [](Bytes& b, const PeLayout& l) { Put32(b, l.resourceSection + 20, 0xFFFFFE00); }},
      {"resource section without file data",
       [](Bytes& b, const PeLayout& l) { Put32(b, l.resourceSection + 16, 0); }},
      {"resource section shorter than its tree",
       [](Bytes& b, const PeLayout& l) { Put32(b, l.resourceSection + 8, 0x18); }},
      {"type entry without the subdirectory bit",
       [](Bytes& b, const PeLayout& l) { Put32(b, l.typeEntry + 4, Get16(b, l.typeEntry + 4)); }},
      {"type entry looping back to the root",
       [](Bytes& b, const PeLayout& l) { Put32(b, l.typeEntry + 4, 0x80000000); }},
      {"name entry pointing outside the section",
       [](Bytes& b, const PeLayout& l) { Put32(b, l.nameDirectory + 20, 0xFFFFFFF0); }},
      {"name directory without entries",
       [](Bytes& b, const PeLayout& l) { Put32(b, l.nameDirectory + 12, 0); }},
      {"language entry leading to a directory, not data",
       [](Bytes& b, const PeLayout& l) { Put32(b, l.languageDirectory + 20, 0x80000000); }},
      {"data entry outside the section",
       [](Bytes& b, const PeLayout& l) { Put32(b, l.languageDirectory + 20, 0x7FFFFFF0); }},
      {"data RVA in no section", [](Bytes& b, const PeLayout& l) { Put32(b, l.dataEntry, 0xFFFFFF00); }},
      {"data size of 4 GiB", [](Bytes& b, const PeLayout& l) { Put32(b, l.dataEntry + 4, 0xFFFFFFFF); }},
      {"data size over the cap", [](Bytes& b, const PeLayout& l) { Put32(b, l.dataEntry + 4, kMaxVersionInfoSize + 4); }},
      {"data running past the end of its section",
       [](Bytes& b, const PeLayout& l) {
         Put32(b, l.dataEntry + 4, Get16(b, l.resourceSection + 16) + 0x1000u);
       }},
      {"zero data size", [](Bytes& b, const PeLayout& l) { Put32(b, l.dataEntry + 4, 0); }},
      {"block key", [](Bytes& b, const PeLayout& l) { b[l.data + 6 + 2 * 14] = 'X'; }},
      {"block length beyond the resource",
       [](Bytes& b, const PeLayout& l) { Put16(b, l.data, static_cast<uint16_t>(l.dataSize + 1)); }},
      {"block length shorter than its key", [](Bytes& b, const PeLayout& l) { Put16(b, l.data, 20); }},
  };
  return damages;
}

TEST(VersionResource, DamagedHeadersTreesAndRangesAnswerNone) {
  TempDir dir{"qm-version"};
  for (const char* name : {"ver1234_pe32.dll", "ver1999_pe64.dll", "mixed_pe64.exe"}) {
    const Bytes pe = ReadFixture(name);
    const PeLayout layout(pe);
    for (const Damage& damage : Damages()) {
      Bytes broken = pe;
      damage.apply(broken, layout);
      ASSERT_NE(broken, pe) << damage.what;
      EXPECT_FALSE(ReadVersionResourceOfBytes(dir, broken)) << name << ": " << damage.what;
    }
  }
}

TEST(VersionResource, AbsurdEntryCountsStillFindTheRealEntryWithinTheSection) {
  // The counts claim far more entries than the section holds; the walk stops at
  // the type it wants and never reads the entries that are not there.
  TempDir dir{"qm-version"};
  Bytes pe = ReadFixture("mixed_pe64.exe");
  const PeLayout layout(pe);
  Put16(pe, layout.resourceRoot + 14, 0xFFFF);
  EXPECT_EQ(ReadVersionResourceOfBytes(dir, pe),
            ReadVersionResource(std::string(QM_TEST_DATA_DIR) + "/pe/mixed_pe64.exe"));
}

TEST(VersionResource, ABlockWithABadSignatureIsReadButHasNoFixedFileInfo) {
  TempDir dir{"qm-version"};
  Bytes pe = ReadFixture("ver1234_pe32.dll");
  const PeLayout layout(pe);
  Put32(pe, layout.data + 40, 0xFEEF04BC);
  const auto block = ReadVersionResourceOfBytes(dir, pe);
  ASSERT_TRUE(block);
  FixedFileInfo info{};
  EXPECT_FALSE(QueryFixedFileInfo(block->data(), block->size(), info));
}

// A VS_VERSIONINFO built by hand: header, key, padding, fixed file information.
Bytes HandMadeBlock(uint16_t valueLength) {
  Bytes block(92, 0);
  Put16(block, 0, static_cast<uint16_t>(block.size()));
  Put16(block, 2, valueLength);
  const std::string key = Utf16("VS_VERSION_INFO");
  std::memcpy(block.data() + 6, key.data(), key.size());
  Put32(block, 40, kFixedFileInfoSignature);
  for (uint32_t i = 1; i < 13; ++i) Put32(block, 40 + i * 4, 0x01010101u * i);
  return block;
}

TEST(QueryFixedFileInfo, CopiesTheFixedFileInfoOfAHandMadeBlock) {
  const Bytes block = HandMadeBlock(52);
  FixedFileInfo info{};
  ASSERT_TRUE(QueryFixedFileInfo(block.data(), block.size(), info));
  EXPECT_EQ(info.signature, kFixedFileInfoSignature);
  EXPECT_EQ(info.strucVersion, 0x01010101u);
  EXPECT_EQ(info.fileVersionMS, 0x02020202u);
  EXPECT_EQ(info.fileDateLS, 0x0C0C0C0Cu);
}

TEST(QueryFixedFileInfo, RefusesBlocksThatAreShortOrLackTheFixedFileInfo) {
  const Bytes block = HandMadeBlock(52);
  FixedFileInfo info{};
  EXPECT_FALSE(QueryFixedFileInfo(nullptr, 92, info));
  // A copy shorter than the block's own length, as a too-small buffer leaves it.
  for (std::size_t size = 0; size < block.size(); ++size) {
    const Bytes cut(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_FALSE(QueryFixedFileInfo(cut.data(), cut.size(), info)) << size;
  }
  EXPECT_FALSE(QueryFixedFileInfo(HandMadeBlock(0).data(), 92, info));
  EXPECT_FALSE(QueryFixedFileInfo(HandMadeBlock(51).data(), 92, info));
  // A block whose own length ends before the value, inside a larger buffer.
  Bytes shortLength = HandMadeBlock(52);
  Put16(shortLength, 0, 91);
  EXPECT_FALSE(QueryFixedFileInfo(shortLength.data(), shortLength.size(), info));
}

}  // namespace
}  // namespace platform
