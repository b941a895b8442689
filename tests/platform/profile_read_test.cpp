// Reading through the host-path engine: buffers, lists, quotes, blanks, case,
// numbers, and changes made by someone else.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/profile/host_profile.h"
#include "tests/common/temp_dir.h"

namespace platform {
namespace {

using qmtest::ReadFileText;
using qmtest::TempDir;
using qmtest::WriteFileText;

std::string Read(const std::filesystem::path& file, const char* section, const char* key,
                 const char* defaultValue = "", std::size_t size = 256) {
  std::vector<char> buffer(size, '#');
  const std::size_t n = GetHostProfileString(file, section, key, defaultValue, buffer.data(), size);
  EXPECT_LT(n, size);
  EXPECT_EQ(buffer[n], '\0');
  return std::string(buffer.data(), n);
}

// Splits a NUL-separated list up to its empty name.
std::vector<std::string> SplitList(const char* list) {
  std::vector<std::string> names;
  for (const char* p = list; *p; p += names.back().size() + 1) names.emplace_back(p);
  return names;
}

class ProfileRead : public ::testing::Test {
 protected:
  TempDir dir{"qm-profile"};
  std::filesystem::path file = dir / "test.ini";
};

TEST_F(ProfileRead, TrimsBlanksStripsOnePairOfQuotesAndIgnoresCase) {
  WriteFileText(file,
            "[Files]\r\n"
            "  Spaced \t=  \t value with blanks \t \r\n"
            "dq=\"quoted  \"\r\n"
            "sq=  'single'  \r\n"
            "mixed=\"a'\r\n"
            "inner=\"a\" and \"b\"\r\n"
            "twice=\"\"x\"\"\r\n"
            "lone=\"\r\n"
            "empty=\r\n"
            "noequals\r\n");
  EXPECT_EQ(Read(file, "files", "SPACED"), "value with blanks");
  EXPECT_EQ(Read(file, "FILES", "dq"), "quoted  ");
  EXPECT_EQ(Read(file, "Files", "sq"), "single");
  EXPECT_EQ(Read(file, "Files", "mixed"), "\"a'");
  EXPECT_EQ(Read(file, "Files", "inner"), "a\" and \"b");
  EXPECT_EQ(Read(file, "Files", "twice"), "\"x\"");
  EXPECT_EQ(Read(file, "Files", "lone"), "\"");
  EXPECT_EQ(Read(file, "Files", "empty", "default"), "");
  EXPECT_EQ(Read(file, "Files", "noequals", "default"), "");
  EXPECT_EQ(Read(file, " files ", " spaced "), "value with blanks");
}

TEST_F(ProfileRead, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(Read(file, "s", "k", "dflt"), "dflt");
  EXPECT_EQ(Read(file, "s", "k", nullptr), "");
  EXPECT_EQ(Read(dir / "no" / "such" / "dir.ini", "s", "k", "dflt"), "dflt");
  WriteFileText(file, "[s]\nk=v\n");
  EXPECT_EQ(Read(file, "t", "k", "dflt"), "dflt");
  EXPECT_EQ(Read(file, "s", "j", "dflt"), "dflt");
  EXPECT_EQ(Read(file, "s", "j", nullptr), "");
  EXPECT_EQ(Read(file, "s", "k", "dflt"), "v");
  // A directory or a FIFO of that name reads as a missing file and is not written.
  EXPECT_EQ(Read(dir.Path(), "s", "k", "dflt"), "dflt");
  const auto fifo = dir / "fifo.ini";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EQ(Read(fifo, "s", "k", "dflt"), "dflt");
  EXPECT_FALSE(WriteHostProfileString(fifo, "s", "k", "v"));
  EXPECT_FALSE(WriteHostProfileString(dir.Path(), "s", "k", "v"));
}

TEST_F(ProfileRead, LongValuesAreCutToTheBuffer) {
  const std::string value = std::string(150, 'a') + std::string(150, 'b');
  WriteFileText(file, "[s]\r\nlong=" + value + "\r\nquoted=\"" + value + "\"\r\n");
  // The install log is read into 256- and 50-byte buffers.
  EXPECT_EQ(Read(file, "s", "long", "", 256), value.substr(0, 255));
  EXPECT_EQ(Read(file, "s", "long", "", 50), value.substr(0, 49));
  EXPECT_EQ(Read(file, "s", "quoted", "", 256), value.substr(0, 255));
  EXPECT_EQ(Read(file, "s", "missing", value.c_str(), 50), value.substr(0, 49));
  EXPECT_EQ(Read(file, "s", "long", "", 1), "");

  char untouched = '#';
  EXPECT_EQ(GetHostProfileString(file, "s", "long", "", &untouched, 0), 0u);
  EXPECT_EQ(untouched, '#');
}

TEST_F(ProfileRead, ListsKeyAndSectionNamesOnceInFileOrder) {
  WriteFileText(file, "[One]\nb=1\nA=2\n;c=3\nB=4\n[two]\n[ONE]\nd=5\n");
  char buffer[64];
  std::size_t n = GetHostProfileString(file, "one", nullptr, "dflt", buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer, n + 1), std::string("b\0A\0\0", 5));
  EXPECT_EQ(n, 4u);
  n = GetHostProfileString(file, nullptr, nullptr, "dflt", buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer, n + 1), std::string("One\0two\0\0", 9));

  // An empty or missing section and a missing file give an empty list, not the default.
  for (const char* section : {"two", "three"}) {
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(GetHostProfileString(file, section, nullptr, "dflt", buffer, sizeof buffer), 0u);
    EXPECT_EQ(std::string(buffer, 2), std::string("\0\0", 2));
  }
  EXPECT_EQ(GetHostProfileString(dir / "none.ini", nullptr, nullptr, "dflt", buffer, sizeof buffer), 0u);
  EXPECT_EQ(std::string(buffer, 2), std::string("\0\0", 2));
}

TEST_F(ProfileRead, AListThatDoesNotFitIsCutAtANameAndReportsSizeMinusTwo) {
  WriteFileText(file, "[s]\nabc=1\ndefg=2\n");
  char buffer[16];
  std::memset(buffer, '#', sizeof buffer);
  // "abc\0defg\0\0" needs 10 bytes; 8 hold only the first name whole.
  EXPECT_EQ(GetHostProfileString(file, "s", nullptr, "", buffer, 8), 6u);
  EXPECT_EQ(std::string(buffer, 8), std::string("abc\0\0\0\0\0", 8));
  EXPECT_EQ(buffer[8], '#');
  EXPECT_EQ(GetHostProfileString(file, "s", nullptr, "", buffer, 3), 1u);
  EXPECT_EQ(std::string(buffer, 3), std::string("\0\0\0", 3));
  EXPECT_EQ(GetHostProfileString(file, "s", nullptr, "", buffer, 1), 0u);
  EXPECT_EQ(buffer[0], '\0');
  // Fitting exactly also answers size - 2, as on Windows.
  EXPECT_EQ(GetHostProfileString(file, "s", nullptr, "", buffer, 10), 8u);
  EXPECT_EQ(std::string(buffer, 10), std::string("abc\0defg\0\0", 10));
}

TEST_F(ProfileRead, TheDoublingLoopOfTheSectionReaderEndsWithTheWholeList) {
  std::string text = "[Group]\r\n";
  std::vector<std::string> expected;
  for (int i = 0; i < 500; ++i) {
    expected.push_back("file" + std::to_string(i) + ".dll");
    text += expected.back() + "=1|1|0\r\n";
  }
  WriteFileText(file, text);
  std::size_t size = 256;
  std::vector<char> buffer;
  int rounds = 0;
  for (;; size *= 2, ++rounds) {
    buffer.assign(size, '#');
    if (GetHostProfileString(file, "group", nullptr, "", buffer.data(), size) < size - 2) break;
    // Every cut list holds whole names only.
    const std::vector<std::string> partial = SplitList(buffer.data());
    ASSERT_LE(partial.size(), expected.size());
    EXPECT_TRUE(std::equal(partial.begin(), partial.end(), expected.begin()));
  }
  EXPECT_EQ(SplitList(buffer.data()), expected);
  EXPECT_EQ(rounds, 5);  // 256 .. 8192 bytes for about 6 KB of names
}

TEST_F(ProfileRead, IntegersAreLeadingDecimalDigits) {
  WriteFileText(file, "[n]\na=42\nb= -7 \nc=+12abc\nd=abc\ne=\nf=\"15\"\ng=4294967297\nh=0x1F\n");
  EXPECT_EQ(GetHostProfileInt(file, "n", "a", 5), 42u);
  EXPECT_EQ(static_cast<int>(GetHostProfileInt(file, "n", "b", 5)), -7);
  EXPECT_EQ(GetHostProfileInt(file, "n", "c", 5), 12u);
  EXPECT_EQ(GetHostProfileInt(file, "n", "d", 5), 0u);
  EXPECT_EQ(GetHostProfileInt(file, "n", "e", 5), 5u);  // empty: the default, as on Windows
  EXPECT_EQ(GetHostProfileInt(file, "n", "f", 5), 15u);
  EXPECT_EQ(GetHostProfileInt(file, "n", "g", 5), 1u);  // wraps at 32 bits
  EXPECT_EQ(GetHostProfileInt(file, "n", "h", 5), 0u);
  EXPECT_EQ(static_cast<int>(GetHostProfileInt(file, "n", "missing", -3)), -3);
  EXPECT_EQ(GetHostProfileInt(dir / "none.ini", "n", "a", 9), 9u);
}

TEST_F(ProfileRead, AChangeByAnotherProcessIsSeenByTheNextRead) {
  ASSERT_TRUE(WriteHostProfileString(file, "s", "key", "old"));
  EXPECT_EQ(Read(file, "s", "key"), "old");
  const std::uint64_t reads = HostProfileDiskReads();
  EXPECT_EQ(Read(file, "s", "key"), "old");
  EXPECT_EQ(HostProfileDiskReads(), reads) << "an unchanged file is not read again";

  // Same size, same inode: only the times tell. Bump them past any clock tick.
  std::string text = ReadFileText(file);
  text.replace(text.find("old"), 3, "new");
  WriteFileText(file, text);
  struct stat status {};
  ASSERT_EQ(::stat(file.c_str(), &status), 0);
  const timespec times[2] = {status.st_atim, {status.st_mtim.tv_sec + 2, status.st_mtim.tv_nsec}};
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  EXPECT_EQ(Read(file, "s", "key"), "new");

  // A write after the outside change starts from the new text.
  ASSERT_TRUE(WriteHostProfileString(file, "s", "other", "1"));
  EXPECT_EQ(ReadFileText(file), "[s]\r\nkey=new\r\nother=1\r\n");

  std::filesystem::remove(file);
  EXPECT_EQ(Read(file, "s", "key", "gone"), "gone");
}

}  // namespace
}  // namespace platform
