// A log whose last line lacks its line end: what a kill in the middle of an
// append leaves (at a page boundary of the file), or a hand-written last line.

#include <gtest/gtest.h>

#include <string>

#include "platform/profile/cut_append.h"
#include "platform/profile/host_profile.h"
#include "tests/common/temp_dir.h"

namespace platform {
namespace {

using qmtest::ReadFileText;
using qmtest::TempDir;
using qmtest::WriteFileText;

// An install log ending in lastLine, padded by a comment to exactly `size` bytes.
std::string LogEndingIn(const std::string& lastLine, std::size_t size) {
  const std::string lines = "[Main]\r\nA.DLL=1|1|0\r\n";
  return ";" + std::string(size - lines.size() - lastLine.size() - 3, '-') + "\r\n" + lines + lastLine;
}

struct LastLine {
  const char* name;
  const char* line;      // as the file ends, without a line end
  std::size_t fileSize;  // a kill cuts only at a whole number of pages
  bool isEntry;
};

const LastLine kLastLines[] = {
    {"CutInTheValue", "QM.EXE=3|1", 2 * kCutAppendPageSize, false},
    {"CutInTheKey", "QM.E", kCutAppendPageSize, false},
    {"CutBeforeTheLineFeed", "QM.EXE=3|1|0\r", kCutAppendPageSize, false},
    {"CutInAHeader", "[Regis", kCutAppendPageSize, false},
    {"HandWrittenLastLine", "QM.EXE=3|1", kCutAppendPageSize + 7, true},
    {"HandWrittenLastHeader", "[Regis", 3 * kCutAppendPageSize - 1, true},
};

class ProfileCutAppend : public ::testing::TestWithParam<LastLine> {
 protected:
  std::string Read(const char* section, const char* key) {
    char buffer[256];
    const std::size_t n = GetHostProfileString(file, section, key, "<none>", buffer, sizeof buffer);
    return std::string(buffer, n);
  }
  std::string SectionNames() {
    char buffer[256];
    const std::size_t n = GetHostProfileString(file, nullptr, nullptr, "", buffer, sizeof buffer);
    return std::string(buffer, n);
  }

  TempDir dir{"qm-profile"};
  std::filesystem::path file = dir / "Qmw.log";
};

TEST_P(ProfileCutAppend, AKilledAppendIsNoEntryAndTheNextAppendStartsALineOfItsOwn) {
  const LastLine& last = GetParam();
  const std::string before = LogEndingIn(last.line, last.fileSize);
  WriteFileText(file, before);
  FlushHostProfileCache();

  const std::string key = std::string(last.line).substr(0, std::string(last.line).find('='));
  const bool header = last.line[0] == '[';
  if (header) {
    EXPECT_EQ(SectionNames().find("Regis") != std::string::npos, last.isEntry) << SectionNames();
  } else {
    EXPECT_EQ(Read("Main", key.c_str()) != "<none>", last.isEntry);
  }

  ASSERT_TRUE(WriteHostProfileString(file, "Main", "C.DLL", "1|1|0"));
  const std::string after = ReadFileText(file);
  // Whatever came before the last line is kept byte for byte.
  const std::string complete = before.substr(0, before.rfind('\n') + 1);
  ASSERT_EQ(after.compare(0, complete.size(), complete), 0);
  EXPECT_EQ(Read("Main", "C.DLL"), "1|1|0");
  EXPECT_EQ(Read("Main", "A.DLL"), "1|1|0");
  if (last.isEntry) {
    // The hand-written line keeps counting, and gets its line end first.
    EXPECT_NE(after.find(std::string(last.line) + "\r\n"), std::string::npos);
  } else {
    // The cut line is gone: it cannot become an entry by what follows it.
    EXPECT_EQ(after.substr(complete.size()), "C.DLL=1|1|0\r\n");
    EXPECT_EQ(Read("Main", key.c_str()), "<none>");
  }
  EXPECT_EQ(after.back(), '\n');
}

INSTANTIATE_TEST_SUITE_P(LastLines, ProfileCutAppend, ::testing::ValuesIn(kLastLines),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileCutAppendWriter, EveryFileItRewritesEndsWithALineEnd) {
  // So that a rewrite of a hand-written file can never look like a cut append.
  TempDir dir{"qm-profile"};
  const auto file = dir / "hand.ini";
  WriteFileText(file, "[a]\nx=1\n[b]\ny=2");
  ASSERT_TRUE(WriteHostProfileString(file, "a", "x", "9"));
  EXPECT_EQ(ReadFileText(file), "[a]\nx=9\n[b]\ny=2\n");
}

}  // namespace
}  // namespace platform
