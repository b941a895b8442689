// Splitting, rebuilding and editing paths: pure text work.

#include <gtest/gtest.h>

#include "support/path.h"
#include "support/path_parts.h"

namespace {

void ExpectParts(const char* path, const char* drive, const char* directory, const char* name,
                 const char* extension) {
  SCOPED_TRACE(path);
  const PathParts parts = SplitPath(path);
  EXPECT_EQ(parts.drive, drive);
  EXPECT_EQ(parts.directory, directory);
  EXPECT_EQ(parts.name, name);
  EXPECT_EQ(parts.extension, extension);
}

TEST(PathSplit, SeparatesDriveDirectoryNameAndExtension) {
  ExpectParts("C:\\APP\\README.TXT", "C", "\\APP", "README", "TXT");
  ExpectParts("C:\\", "C", "\\", "", "");  // the root stays, it is not emptied
  ExpectParts("C:\\README.TXT", "C", "\\", "README", "TXT");
  ExpectParts("C:\\APP\\SUB\\", "C", "\\APP\\SUB", "", "");
  ExpectParts("C:\\APP\\\\", "C", "\\APP", "", "");
  ExpectParts("C:", "C", "", "", "");
  ExpectParts("C:SETUP.INI", "C", "", "SETUP", "INI");
}

TEST(PathSplit, HandlesPathsWithoutDriveAndRelativePaths) {
  ExpectParts("\\WINDOWS\\WIN.INI", "", "\\WINDOWS", "WIN", "INI");
  ExpectParts("SUB\\DIR\\FILE.DAT", "", "SUB\\DIR", "FILE", "DAT");
  ExpectParts("..\\FILE.DAT", "", "..", "FILE", "DAT");
  ExpectParts("FILE", "", "", "FILE", "");
  ExpectParts("", "", "", "", "");
  ExpectParts("C:/APP/B.TXT", "C", "/APP", "B", "TXT");
}

TEST(PathSplit, DotsDecideTheExtensionOnlyInTheLastComponent) {
  ExpectParts("C:\\A.B\\archive.tar.gz", "C", "\\A.B", "archive.tar", "gz");
  ExpectParts("C:\\A.B\\README", "C", "\\A.B", "README", "");
  ExpectParts("C:\\APP\\NAME.", "C", "\\APP", "NAME", "");
  ExpectParts("C:\\APP\\..", "C", "\\APP", "..", "");
  ExpectParts("C:\\APP\\.", "C", "\\APP", ".", "");
}

TEST(PathSplit, RebuildingGivesThePathBack) {
  for (const char* path : {"C:\\APP\\README.TXT", "C:\\", "C:\\APP\\SUB\\", "C:SETUP.INI", "\\WINDOWS\\WIN.INI",
                           "SUB\\DIR\\FILE.DAT", "FILE", "C:\\A.B\\archive.tar.gz", "C:\\APP\\..", ""}) {
    EXPECT_EQ(MakePath(SplitPath(path)), path);
  }
}

TEST(PathComponents, GettersCombineTheParts) {
  const CPath path("C:\\APP\\README.TXT");
  EXPECT_EQ(path.GetDrive(), "C");
  EXPECT_EQ(path.GetDirectory(), "\\APP");
  EXPECT_EQ(path.GetDriveAndDirectory(), "C:\\APP");
  EXPECT_EQ(path.GetNameExt(), "README.TXT");
  EXPECT_EQ(CPath("C:\\README").GetNameExt(), "README");
  EXPECT_EQ(CPath("C:\\README.TXT").GetDriveAndDirectory(), "C:\\");
  EXPECT_EQ(CPath("\\WINDOWS\\WIN.INI").GetDriveAndDirectory(), "\\WINDOWS");
}

TEST(PathComponents, SetDirectoryAddsTheSeparatorsAndEmptyGivesTheRoot) {
  CPath path("C:\\X\\A.TXT");
  path.SetDirectory("WINDOWS");
  EXPECT_EQ(path.Text(), "C:\\WINDOWS\\A.TXT");
  path.SetDirectory("\\A\\B\\");
  EXPECT_EQ(path.Text(), "C:\\A\\B\\A.TXT");
  path.SetDirectory("");
  path.SetNameExt("");
  EXPECT_EQ(path.Text(), "C:\\");
  EXPECT_EQ(CPath("C:\\X\\A.TXT").GetRoot().Text(), path.Text());
  EXPECT_EQ(CPath("\\X\\A.TXT").GetRoot().Text(), "\\");
}

TEST(PathComponents, SettersReplaceOnePartAndKeepTheOthers) {
  CPath path("C:\\X\\A.TXT");
  path.SetDrive("D");
  EXPECT_EQ(path.Text(), "D:\\X\\A.TXT");
  path.SetDrive("E:");
  EXPECT_EQ(path.Text(), "E:\\X\\A.TXT");
  path.SetName("README");
  EXPECT_EQ(path.Text(), "E:\\X\\README.TXT");
  path.SetExtension(".DLL");
  EXPECT_EQ(path.Text(), "E:\\X\\README.DLL");
  path.SetExtension("");
  EXPECT_EQ(path.Text(), "E:\\X\\README");
  path.SetNameExt("B.C.D");
  EXPECT_EQ(path.GetName(), "B.C");
  EXPECT_EQ(path.GetExtension(), "D");
  path.SetDrive("");
  EXPECT_EQ(path.Text(), "\\X\\B.C.D");
}

TEST(PathComponents, SetDriveAndDirectoryReplacesBothAndKeepsTheName) {
  CPath path("C:\\X\\A.TXT");
  path.SetDriveAndDirectory("D:\\DEST");
  EXPECT_EQ(path.Text(), "D:\\DEST\\A.TXT");
  path.SetDriveAndDirectory("E:\\OTHER\\");
  EXPECT_EQ(path.Text(), "E:\\OTHER\\A.TXT");
  path.SetDriveAndDirectory("\\NODRIVE");
  EXPECT_EQ(path.Text(), "\\NODRIVE\\A.TXT");
  path.SetDriveAndDirectory("F:\\");
  EXPECT_EQ(path.Text(), "F:\\A.TXT");
}

TEST(PathComponents, AppendDirectoryPutsOneSeparatorBetweenAndOneAfter) {
  CPath path("C:\\APP\\A.TXT");
  path.AppendDirectory("SUB");
  EXPECT_EQ(path.Text(), "C:\\APP\\SUB\\A.TXT");
  path.AppendDirectory("\\X\\Y\\");
  EXPECT_EQ(path.Text(), "C:\\APP\\SUB\\X\\Y\\A.TXT");

  CPath root("C:\\");
  root.AppendDirectory("QM2");
  EXPECT_EQ(root.Text(), "C:\\QM2\\");

  CPath relative("A.TXT");
  relative.AppendDirectory("SUB");
  EXPECT_EQ(relative.Text(), "SUB\\A.TXT");  // stays relative
}

// A "\\" goes between whatever the directory holds, also when it holds nothing
// but the drive names one.
TEST(PathComponents, AppendDirectoryPutsTheSeparatorAfterADriveAlone) {
  const struct {
    const char* path;
    const char* relative;
    const char* expected;
  } cases[] = {
      {"C:", "QM2", "C:\\QM2\\"},
      {"C:", "\\QM2", "C:\\QM2\\"},
      {"C:A.TXT", "QM2\\", "C:\\QM2\\A.TXT"},
      {"C:\\", "QM2", "C:\\QM2\\"},
      {"C:\\APP\\", "SUB", "C:\\APP\\SUB\\"},
  };
  for (const auto& c : cases) {
    CPath path(c.path);
    path.AppendDirectory(c.relative);
    EXPECT_EQ(path.Text(), c.expected) << c.path << " + " << c.relative;
  }
}

TEST(PathComponents, RemoveLastDirectoryHandsTheComponentBack) {
  CPath path("C:\\A\\B\\F.TXT");
  EXPECT_EQ(path.RemoveLastDirectory(), "B");
  EXPECT_EQ(path.Text(), "C:\\A\\F.TXT");
  EXPECT_EQ(path.RemoveLastDirectory(), "A");
  EXPECT_EQ(path.Text(), "C:\\F.TXT");
  EXPECT_EQ(path.RemoveLastDirectory(), "");
  EXPECT_EQ(path.Text(), "C:\\F.TXT");

  CPath relative("A\\B\\");
  EXPECT_EQ(relative.RemoveLastDirectory(), "B");
  EXPECT_EQ(relative.RemoveLastDirectory(), "A");
  EXPECT_EQ(relative.Text(), "");
  EXPECT_EQ(relative.RemoveLastDirectory(), "");
}

}  // namespace
