// Walking the drive letters of the test machine: A: removable, C: and D: fixed,
// E: CD-ROM, Z: fixed; every other letter unknown.

#include <gtest/gtest.h>

#include "support/drive_iterator.h"
#include "tests/support/machine_fixture.h"

namespace {

using DriveIterator = MachineTest;

TEST_F(DriveIterator, NextSkipsUnknownDrivesAndStopsAfterZ) {
  CDriveIterator drives;
  EXPECT_EQ(drives.GetIndex(), CDriveIterator::kBeforeFirst);
  std::string letters;
  std::string roots;
  while (drives.Next()) {
    letters += drives.GetLetter();
    roots += drives.GetRootPath();
  }
  EXPECT_EQ(letters, "ACDEZ");
  EXPECT_EQ(roots, "a:\\c:\\d:\\e:\\z:\\");
  // At the end the iterator stays on the last drive.
  EXPECT_EQ(drives.GetIndex(), CDriveIterator::kLastIndex);
  EXPECT_EQ(drives.GetLetter(), 'Z');
  EXPECT_FALSE(drives.Next());
  EXPECT_EQ(drives.GetIndex(), CDriveIterator::kLastIndex);
}

TEST_F(DriveIterator, FindsDrivesOfOneType) {
  CDriveIterator drives;
  ASSERT_TRUE(drives.FindFirstFixed());
  EXPECT_EQ(drives.GetLetter(), 'C') << "A: is removable";
  ASSERT_TRUE(drives.FindNextOfType(platform::DriveType::Fixed));
  EXPECT_EQ(drives.GetLetter(), 'D');
  ASSERT_TRUE(drives.FindNextOfType(platform::DriveType::Fixed));
  EXPECT_EQ(drives.GetLetter(), 'Z');

  CDriveIterator fromStart;
  ASSERT_TRUE(fromStart.FindNextOfType(platform::DriveType::CdRom));
  EXPECT_EQ(fromStart.GetLetter(), 'E');
  EXPECT_EQ(fromStart.GetType(), platform::DriveType::CdRom);
  EXPECT_FALSE(fromStart.FindNextOfType(platform::DriveType::Remote));
  EXPECT_EQ(fromStart.GetIndex(), CDriveIterator::kLastIndex);
}

}  // namespace
