// The private-profile functions on Windows file names of an emulated machine.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "platform/fs/path_map.h"
#include "platform/machine/machine.h"
#include "platform/profile/private_profile.h"
#include "tests/common/temp_dir.h"

namespace platform {
namespace {

using qmtest::ReadFileText;
using qmtest::TempDir;
using qmtest::WriteFileText;

class PrivateProfile : public ::testing::Test {
 protected:
  void SetUp() override { UseMachine(dir.Path()); }

  std::filesystem::path Host(const std::string& winPath) {
    std::filesystem::path host;
    EXPECT_TRUE(MapToHost(winPath, host)) << winPath;
    return host;
  }
  std::string Read(const char* section, const char* key, std::string_view fileName) {
    char buffer[256];
    const std::size_t n = GetPrivateProfileString(section, key, "<none>", buffer, sizeof buffer, fileName);
    return std::string(buffer, n);
  }

  TempDir dir{"qm-profile"};
};

TEST_F(PrivateProfile, ABareFileNameLiesInTheWindowsDirectory) {
  ASSERT_TRUE(WritePrivateProfileString("Group", "a.dll", "1|1|0", "Qmw.log"));
  const std::filesystem::path log = Host("C:\\WINDOWS\\Qmw.log");
  EXPECT_EQ(ReadFileText(log), "[Group]\r\na.dll=1|1|0\r\n");
  // The same file under any spelling of its name or with a full path.
  EXPECT_EQ(Read("group", "A.DLL", "QMW.LOG"), "1|1|0");
  EXPECT_EQ(Read("group", "a.dll", "c:\\windows\\qmw.log"), "1|1|0");
  EXPECT_EQ(Read("group", "a.dll", "C:/WINDOWS/Qmw.log"), "1|1|0");
  EXPECT_EQ(GetPrivateProfileInt("Group", "a.dll", 7, "Qmw.log"), 1u);
  EXPECT_EQ(GetPrivateProfileInt("Group", "b.dll", 7, "Qmw.log"), 7u);
}

TEST_F(PrivateProfile, AFileOutOfReachReadsAsMissingAndIsNotWritten) {
  errno = 0;
  EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", "C:\\NODIR\\x.ini"));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(Read("s", "k", "C:\\NODIR\\x.ini"), "<none>");
  // A drive that is not mapped.
  EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", "Q:\\x.ini"));
  EXPECT_EQ(Read("s", "k", "Q:\\x.ini"), "<none>");
  EXPECT_EQ(GetPrivateProfileInt("s", "k", 3, "Q:\\x.ini"), 3u);
  EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", ""));
  // Injected lines are refused here as in the engine.
  EXPECT_FALSE(WritePrivateProfileString("s", "k", "v\r\n[x]", "qmw2.ini"));
  EXPECT_FALSE(std::filesystem::exists(Host("C:\\WINDOWS\\qmw2.ini")));
}

// The path look-up's own status stands in for the engine's check of the file,
// so a change made behind its back must still be seen, through a link too.
TEST_F(PrivateProfile, AChangeBehindTheEnginesBackIsSeenThroughAWindowsName) {
  const std::filesystem::path real = Host("C:\\WINDOWS\\real.ini");
  WriteFileText(real, "[s]\r\nkey=old\r\n");
  std::filesystem::create_symlink("real.ini", Host("C:\\WINDOWS\\link.ini"));
  for (const char* name : {"real.ini", "link.ini"}) {
    ASSERT_EQ(Read("s", "key", name), "old") << name;
  }
  // Same size, same inode: only the times tell. Bump them past any clock tick.
  WriteFileText(real, "[s]\r\nkey=new\r\n");
  struct stat status {};
  ASSERT_EQ(::stat(real.c_str(), &status), 0);
  const timespec times[2] = {status.st_atim, {status.st_mtim.tv_sec + 2, status.st_mtim.tv_nsec}};
  ASSERT_EQ(::utimensat(AT_FDCWD, real.c_str(), times, 0), 0);
  for (const char* name : {"real.ini", "link.ini"}) {
    EXPECT_EQ(Read("s", "key", name), "new") << name;
  }
  ASSERT_TRUE(WritePrivateProfileString("s", "more", "1", "link.ini"));
  EXPECT_EQ(ReadFileText(real), "[s]\r\nkey=new\r\nmore=1\r\n");
}

}  // namespace
}  // namespace platform
