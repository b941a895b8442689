#include <gtest/gtest.h>

#include <cerrno>

#include "platform/core/crt_random.h"
#include "platform/core/exceptions.h"
#include "platform/core/file_cause.h"

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
