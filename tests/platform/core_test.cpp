#include <gtest/gtest.h>

#include <cerrno>

#include "platform/core/crt_random.h"
#include "platform/core/exceptions.h"
#include "platform/core/file_cause.h"
#include "platform/core/text_encoding.h"

namespace platform {
namespace {

TEST(FileCause, HostErrorsMapToTheFileCauses) {
  EXPECT_EQ(FileCauseFromErrno(0), FileCause::None);
  EXPECT_EQ(FileCauseFromErrno(ENOENT), FileCause::FileNotFound);
  EXPECT_EQ(FileCauseFromErrno(ENOTDIR), FileCause::BadPath);
  EXPECT_EQ(FileCauseFromErrno(EMFILE), FileCause::TooManyOpenFiles);
  EXPECT_EQ(FileCauseFromErrno(EACCES), FileCause::AccessDenied);
  EXPECT_EQ(FileCauseFromErrno(EPERM), FileCause::AccessDenied);
  EXPECT_EQ(FileCauseFromErrno(EROFS), FileCause::AccessDenied);
  EXPECT_EQ(FileCauseFromErrno(EIO), FileCause::HardIO);
  EXPECT_EQ(FileCauseFromErrno(ENOSPC), FileCause::DiskFull);
  EXPECT_EQ(FileCauseFromErrno(EDQUOT), FileCause::DiskFull);
  EXPECT_EQ(FileCauseFromErrno(ECHILD), FileCause::Generic);
}

TEST(FileException, CarriesCauseErrnoAndName) {
  const FileException e = FileException::FromErrno(ENOSPC, "C:\\X.DAT");
  EXPECT_EQ(e.Cause(), FileCause::DiskFull);
  EXPECT_EQ(e.OsError(), ENOSPC);
  EXPECT_EQ(e.FileName(), "C:\\X.DAT");
  EXPECT_NE(std::string(e.what()).find("C:\\X.DAT"), std::string::npos);
}

TEST(CrtRandom, FollowsTheWindowsRuntimeSequenceFromSeedOne) {
  Srand(1);
  EXPECT_EQ(Rand(), 41);
  EXPECT_EQ(Rand(), 18467);
  EXPECT_EQ(Rand(), 6334);
  Srand(1);
  for (int i = 0; i < 10000; ++i) {
    const int v = Rand();
    ASSERT_GE(v, 0);
    ASSERT_LE(v, 32767);
  }
}

}  // namespace
}  // namespace platform

TEST(TextEncoding, Windows1252MapsItsHighRangeAndMarksTheUndefinedBytes) {
  EXPECT_EQ(platform::Windows1252ToUtf8("\x80 caf\xE9"), "\u20AC caf\u00E9");
  EXPECT_EQ(platform::Windows1252ToUtf8("a\x81z"), "a\uFFFDz");
  EXPECT_EQ(platform::Windows1252ToUtf8("a\x81z", U'?'), "a?z");
  EXPECT_EQ(platform::Windows1252CodePoint(0x9D), U'\0');
  EXPECT_EQ(platform::Windows1252CodePoint(0x9F), U'\u0178');
}

TEST(TextEncoding, Utf8CheckRefusesOverlongSurrogateAndCutSequences) {
  EXPECT_TRUE(platform::IsValidUtf8("plain \u00E9 \u20AC \U0001F600"));
  EXPECT_FALSE(platform::IsValidUtf8("\xC0\xAF"));          // overlong '/'
  EXPECT_FALSE(platform::IsValidUtf8("\xED\xA0\x80"));      // a surrogate
  EXPECT_FALSE(platform::IsValidUtf8("\xE2\x82"));          // cut short
  EXPECT_FALSE(platform::IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
}

TEST(TextEncoding, Utf16PairsJoinAndLoneSurrogatesAreReplaced) {
  using namespace std::string_view_literals;
  EXPECT_EQ(platform::Utf16LeToUtf8("A\0\x3D\xD8\x00\xDE"sv), "A\U0001F600");
  EXPECT_EQ(platform::Utf16LeToUtf8("\x3D\xD8Z\0"sv), "\uFFFDZ");
  EXPECT_EQ(platform::Utf16LeToUtf8("A\0B"sv), "A");  // an odd last byte is dropped
}
