// A writer killed at any instant leaves a file that parses, with every key
// either absent or holding its whole value.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <random>
#include <string>
#include <vector>

#include "platform/profile/cut_append.h"
#include "platform/profile/host_profile.h"
#include "platform/profile/ini_document.h"
#include "tests/common/temp_dir.h"

namespace platform {
namespace {

using qmtest::ReadFileText;
using qmtest::TempDir;
using qmtest::WriteFileText;

constexpr long kKeysPerSection = 200;

std::string KeyOf(long i) {
  char key[32];
  std::snprintf(key, sizeof key, "file%07ld.dll", i);
  return key;
}
std::string SectionOf(long i) { return "Group" + std::to_string(i / kKeysPerSection); }
std::string ValueOf(long i) { return std::to_string(i % 7) + "|1|0|" + std::string(i % 50, 'x') + "|" + std::to_string(i); }
std::string CounterOf(long i) { return std::to_string(i) + "|" + std::string(300, 'c') + "|" + std::to_string(i); }

// The child's work: mostly appends (new keys, new sections at the end), with
// rewrites in the middle (the counter in the first section, deletions) mixed in.
[[noreturn]] void WriteUntilKilled(const std::filesystem::path& file, long first) {
  for (long i = first; i < first + 20000; ++i) {
    WriteHostProfileString(file, SectionOf(i).c_str(), KeyOf(i).c_str(), ValueOf(i).c_str());
    if (i % 16 == 0) WriteHostProfileString(file, "head", "counter", CounterOf(i).c_str());
    if (i % 23 == 0) WriteHostProfileString(file, SectionOf(i - 5).c_str(), KeyOf(i - 5).c_str(), nullptr);
  }
  for (;;) ::pause();
}

// Checks the file and returns how many file keys it holds.
long CheckComplete(const std::filesystem::path& file) {
  std::string text = ReadFileText(file);
  // A kill can cut an append only where it crosses a page of the file; the
  // reader leaves such a partial line out (cut_append.h).
  const bool complete = text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0;
  EXPECT_TRUE(complete || text.size() % kCutAppendPageSize == 0) << "torn last line inside a page";
  text.resize(LengthWithoutCutLine(text));
  const IniDocument document(text);
  const auto counter = document.Get("head", "counter");
  if (!counter) {
    ADD_FAILURE() << "the first section lost its counter";
    return 0;
  }
  const long counterValue = std::stol(*counter);
  EXPECT_EQ(*counter, CounterOf(counterValue));
  long keys = 0;
  for (const std::string& section : document.SectionNames()) {
    if (section == "head") continue;
    for (const std::string& key : document.KeyNames(section)) {
      long i = -1;
      EXPECT_EQ(std::sscanf(key.c_str(), "file%7ld.dll", &i), 1) << "stray key " << key;
      EXPECT_EQ(key, KeyOf(i));
      EXPECT_EQ(section, SectionOf(i));
      EXPECT_EQ(document.Get(section, key), ValueOf(i)) << key;
      ++keys;
    }
  }
  return keys;
}

TEST(ProfileCrash, AWriterKilledAtRandomMomentsNeverLeavesAPartialKey) {
  TempDir dir{"qm-profile"};
  const auto file = dir / "Qmw.log";
  WriteFileText(file, "[head]\r\ncounter=" + CounterOf(0) + "\r\n");
  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> delayMicros(0, 20000);

  long keys = 0;
  int strays = 0;
  for (int round = 0; round < 80; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) WriteUntilKilled(file, round * 100000L);
    ::usleep(static_cast<useconds_t>(delayMicros(random)));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    keys = CheckComplete(file);
    // A rewrite has no name while it is written; only a kill between its
    // link and its rename, a few microseconds, leaves it beside the file,
    // whole, and the next process to read the file takes it away.
    std::vector<std::filesystem::path> leftovers;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
      if (entry.path() == file) continue;
      const std::string stray = ReadFileText(entry.path());
      EXPECT_TRUE(stray.ends_with("\r\n") && IniDocument(stray).HasSection("head")) << "a partial rewrite left behind";
      leftovers.push_back(entry.path());
    }
    if (!leftovers.empty()) {
      ++strays;
      FlushHostProfileCache();
      char value[8];
      GetHostProfileString(file, "head", "none", "", value, sizeof value);
      for (const auto& leftover : leftovers) EXPECT_FALSE(std::filesystem::exists(leftover)) << leftover;
    }
    if (::testing::Test::HasFailure()) break;
  }
  EXPECT_GT(keys, 0) << "the writers never got to write";
  std::cout << strays << " of 80 kills left a whole rewrite beside the file\n";
}

}  // namespace
}  // namespace platform
