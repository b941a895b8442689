// File versions from real PE fixtures, the version order, and the file-status
// record's round trip.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <limits>

#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "support/file_status.h"
#include "support/file_version.h"
#include "tests/support/machine_fixture.h"

namespace {

namespace fs = std::filesystem;
using qmtest::WriteFileText;

TEST(VersionOrder, TheFirstUnequalPartDecides) {
  EXPECT_TRUE(IsVersionNewer({2, 0, 0, 1}, {1, 9, 9, 9}));
  EXPECT_FALSE(IsVersionNewer({1, 9, 9, 9}, {2, 0, 0, 1}));
  EXPECT_FALSE(IsVersionNewer({1, 2, 3, 4}, {1, 2, 3, 4}));
  EXPECT_TRUE(IsVersionNewer({1, 2, 3, 5}, {1, 2, 3, 4}));
  EXPECT_TRUE(IsVersionNewer({1, 3, 0, 0}, {1, 2, 65535, 65535}));
  EXPECT_FALSE(IsVersionNewer({0, 0, 0, 0}, {0, 0, 0, 1}));
}

class FileVersionTest : public MachineTest {
 protected:
  // The Windows path of a fixture, copied onto drive C: under its own name.
  std::string Fixture(const std::string& name) {
    const fs::path source = fs::path(QM_TEST_DATA_DIR) / "pe" / name;
    fs::create_directories(OnC("VER"));
    fs::copy_file(source, OnC("VER/" + name), fs::copy_options::overwrite_existing);
    return "C:\\VER\\" + name;
  }

  static CFileVersion Load(const std::string& path) {
    CFileVersion version;
    EXPECT_TRUE(version.LoadVersionInfo(path)) << path;
    return version;
  }
};

TEST_F(FileVersionTest, ReadsTheFourPartsOfThirtyTwoAndSixtyFourBitFiles) {
  EXPECT_EQ(Load(Fixture("ver2001_pe32.exe")).GetFileVersion(), (FileVersionNumber{2, 0, 0, 1}));
  EXPECT_EQ(Load(Fixture("ver1999_pe64.dll")).GetFileVersion(), (FileVersionNumber{1, 9, 9, 9}));
  EXPECT_EQ(Load(Fixture("ver1234_pe32.dll")).GetFileVersion(), (FileVersionNumber{1, 2, 3, 4}));
  EXPECT_EQ(Load(Fixture("mixed_pe64.exe")).GetFileVersion(), (FileVersionNumber{3, 10, 65535, 0}));
}

TEST_F(FileVersionTest, ComparesFilesByVersion) {
  const CFileVersion v2001 = Load(Fixture("ver2001_pe32.exe"));
  const CFileVersion v1999 = Load(Fixture("ver1999_pe64.dll"));
  const CFileVersion v1234a = Load(Fixture("ver1234_pe32.dll"));
  const CFileVersion v1234b = Load(Fixture("ver1234_pe64.exe"));
  EXPECT_TRUE(v2001.IsNewerThan(v1999));
  EXPECT_FALSE(v1999.IsNewerThan(v2001));
  EXPECT_FALSE(v1234a.IsNewerThan(v1234b));
  EXPECT_FALSE(v1234b.IsNewerThan(v1234a));
  EXPECT_FALSE(v1234a.IsNewerThan(v1234a));
}

TEST_F(FileVersionTest, FilesWithoutVersionInformation) {
  CFileVersion none;
  EXPECT_FALSE(none.LoadVersionInfo(Fixture("noversion_pe32.exe")));
  EXPECT_FALSE(none.LoadVersionInfo(Fixture("noversion_pe64.dll")));
  EXPECT_FALSE(none.LoadVersionInfo("C:\\VER\\MISSING.DLL"));
  EXPECT_FALSE(none.HasVersionInfo());
  EXPECT_EQ(none.GetFileVersion(), std::nullopt);

  // Loading a file without a version drops the block of an earlier load.
  CFileVersion reused = Load(Fixture("ver2001_pe32.exe"));
  EXPECT_FALSE(reused.LoadVersionInfo("C:\\VER\\noversion_pe32.exe"));
  EXPECT_EQ(reused.GetFileVersion(), std::nullopt);

  const CFileVersion versioned = Load(Fixture("ver1234_pe32.dll"));
  EXPECT_TRUE(versioned.IsNewerThan(none));
  EXPECT_FALSE(none.IsNewerThan(versioned));
}

using FileStatusTest = MachineTest;

TEST(FileTime32, HostTimesAreClampedToTheRecordsRange) {
  EXPECT_EQ(ToFileTime32(-5), 0u);
  EXPECT_EQ(ToFileTime32(946684800), 946684800u);
  EXPECT_EQ(ToFileTime32(5'000'000'000), std::numeric_limits<uint32_t>::max());
}

TEST_F(FileStatusTest, ReadsTheRecord) {
  WriteFileText(OnC("APP/README.TXT"), std::string(300, 'r'));
  CFileStatus status;
  ASSERT_TRUE(GetStatus("c:\\app\\readme.txt", status));
  EXPECT_EQ(status.size, 300u);
  EXPECT_EQ(status.attributes & (platform::kAttrReadOnly | platform::kAttrDirectory), 0);
  EXPECT_EQ(status.fullName, "C:\\APP\\README.TXT");
  EXPECT_GT(status.lastWriteTime, 0u);
  EXPECT_FALSE(GetStatus("C:\\APP\\MISSING.TXT", status));
}

TEST_F(FileStatusTest, AppliedStatusSetsTimesAndReadOnly) {
  WriteFileText(OnC("APP/README.TXT"), "text");
  CFileStatus status;
  ASSERT_TRUE(GetStatus("C:\\APP\\README.TXT", status));
  status.lastWriteTime = 3'000'000'000u;  // above the signed 32-bit range
  status.lastAccessTime = 946684800u;
  status.attributes = platform::kAttrReadOnly;
  ASSERT_TRUE(SetStatus("C:\\APP\\README.TXT", status));

  // Root ignores permission bits, so the mode bits show the read-only state.
  struct stat host {};
  ASSERT_EQ(::stat(OnC("APP/README.TXT").c_str(), &host), 0);
  EXPECT_EQ(host.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH), 0u);

  CFileStatus back;
  ASSERT_TRUE(GetStatus("C:\\APP\\README.TXT", back));
  EXPECT_EQ(back.lastWriteTime, 3'000'000'000u);
  EXPECT_EQ(back.lastAccessTime, 946684800u);
  EXPECT_NE(back.attributes & platform::kAttrReadOnly, 0);

  back.attributes = 0;
  ASSERT_TRUE(SetStatus("C:\\APP\\README.TXT", back));
  ASSERT_EQ(::stat(OnC("APP/README.TXT").c_str(), &host), 0);
  EXPECT_NE(host.st_mode & S_IWUSR, 0u);
  EXPECT_FALSE(SetStatus("C:\\APP\\MISSING.TXT", back));
}

}  // namespace
