// Files opened by Windows path: modes, reads and writes, and the file-error
// causes a failure carries.

#include <cerrno>
#include <utility>

#include "platform/core/exceptions.h"
#include "platform/fs/file.h"
#include "platform/fs/file_ops.h"
#include "tests/platform/fs_test_support.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using qmtest::ReadFileText;
using namespace open_mode;

class FileTest : public machine_test::FsTest {
 protected:
  // The cause of the FileException that opening path raises, or None.
  static FileCause OpenFailure(std::string_view path, unsigned mode) {
    try {
      File file;
      file.Open(path, mode);
    } catch (const FileException& e) {
      EXPECT_EQ(e.FileName(), path);
      return e.Cause();
    }
    return FileCause::None;
  }
};

TEST_F(FileTest, WritesReadsSeeksAndReportsItsLength) {
  File file;
  file.Open("C:\\Out.bin", kCreate | kReadWrite);
  EXPECT_TRUE(file.IsOpen());
  EXPECT_EQ(file.FilePath(), "C:\\Out.bin");
  file.Write("hello world", 11);
  EXPECT_EQ(file.GetPosition(), 11u);
  EXPECT_EQ(file.GetLength(), 11u);
  EXPECT_EQ(file.Seek(6, SeekFrom::Begin), 6u);
  char buffer[16] = {};
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 5u);  // short only at the end
  EXPECT_EQ(std::string(buffer, 5), "world");
  EXPECT_EQ(file.Seek(-5, SeekFrom::End), 6u);
  EXPECT_EQ(file.Seek(1, SeekFrom::Current), 7u);
  EXPECT_EQ(file.Read(buffer, 0), 0u);
  file.Flush();
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(ReadFileText(C() / "Out.bin"), "hello world");

  // Beyond 4 GB positions stay exact (a sparse file: no space is used).
  file.Open("C:\\OUT.BIN", kReadWrite);
  EXPECT_EQ(file.Seek(int64_t{5} << 30, SeekFrom::Begin), uint64_t{5} << 30);
  file.Write("!", 1);
  EXPECT_EQ(file.GetLength(), (uint64_t{5} << 30) + 1);
}

TEST_F(FileTest, CreateTruncatesUnlessAskedToKeep) {
  MakeFile("Keep.txt", "old content");
  File file;
  file.Open("C:\\KEEP.TXT", kCreate | kNoTruncate | kWrite);
  EXPECT_EQ(file.GetLength(), 11u);
  file.Write("new", 3);
  file.Close();
  EXPECT_EQ(ReadFileText(C() / "Keep.txt"), "new content");

  file.Open("C:\\keep.txt", kCreate | kWrite);  // the existing name, not a second file
  file.Close();
  EXPECT_EQ(ReadFileText(C() / "Keep.txt"), "");
  EXPECT_FALSE(fs::exists(C() / "keep.txt"));

  file.Open("C:\\New Name.Txt", kCreate | kNoTruncate | kRead);
  EXPECT_TRUE(fs::exists(C() / "New Name.Txt"));
}

TEST_F(FileTest, FailuresCarryTheWindowsCause) {
  EXPECT_EQ(OpenFailure("C:\\MISSING.TXT", kRead), FileCause::FileNotFound);
  EXPECT_EQ(OpenFailure("C:\\MISSING.TXT", kReadWrite), FileCause::FileNotFound);
  // A missing directory on the way is "path not found", as Windows reports it.
  EXPECT_EQ(OpenFailure("C:\\NODIR\\X.TXT", kRead), FileCause::BadPath);
  EXPECT_EQ(OpenFailure("C:\\NODIR\\X.TXT", kCreate | kWrite), FileCause::BadPath);
  EXPECT_EQ(OpenFailure("Q:\\X.TXT", kRead), FileCause::BadPath);
  EXPECT_EQ(OpenFailure("C:\\BAD|NAME", kCreate | kWrite), FileCause::BadPath);
  EXPECT_EQ(OpenFailure("C:\\" + std::string(300, 'x'), kRead), FileCause::BadPath);
  // A directory is not a file, whatever the mode.
  EXPECT_EQ(OpenFailure("C:\\WINDOWS", kRead), FileCause::AccessDenied);
  EXPECT_EQ(OpenFailure("C:\\WINDOWS", kCreate | kWrite), FileCause::AccessDenied);
}

TEST_F(FileTest, ReadOnlyFilesRefuseWritersEvenForRoot) {
  const fs::path host = MakeFile("Locked.dat", "precious");
  ASSERT_TRUE(SetFileAttributes("C:\\LOCKED.DAT", kAttrReadOnly));
  EXPECT_EQ(OpenFailure("C:\\LOCKED.DAT", kWrite), FileCause::AccessDenied);
  EXPECT_EQ(OpenFailure("C:\\LOCKED.DAT", kReadWrite), FileCause::AccessDenied);
  EXPECT_EQ(OpenFailure("C:\\LOCKED.DAT", kCreate | kWrite), FileCause::AccessDenied);
  EXPECT_EQ(ReadFileText(host), "precious");  // not truncated by the refused create
  EXPECT_EQ(OpenFailure("C:\\LOCKED.DAT", kRead), FileCause::None);
}

TEST_F(FileTest, FullDiskIsDiskFull) {
  File file;
  file.Open("Z:\\dev\\full", kWrite);
  try {
    file.Write("x", 1);
    ADD_FAILURE() << "write to a full device succeeded";
  } catch (const FileException& e) {
    EXPECT_EQ(e.Cause(), FileCause::DiskFull);
    EXPECT_EQ(e.OsError(), ENOSPC);
  }
}

TEST_F(FileTest, MisuseRaisesInsteadOfTouchingAnotherDescriptor) {
  MakeFile("In.txt", "abc");
  File file;
  char byte;
  EXPECT_THROW(file.Read(&byte, 1), FileException);
  EXPECT_THROW(file.Write("x", 1), FileException);
  EXPECT_THROW(file.GetLength(), FileException);
  file.Close();  // closing a closed file is harmless
  file.Abort();

  file.Open("C:\\IN.TXT", kRead);
  EXPECT_THROW(file.Write("x", 1), FileException);  // opened for reading
  try {
    file.Seek(-1, SeekFrom::Begin);
    ADD_FAILURE() << "seek before the start succeeded";
  } catch (const FileException& e) {
    EXPECT_EQ(e.Cause(), FileCause::BadSeek);
  }
}

TEST_F(FileTest, MovesHandOverTheOpenFile) {
  MakeFile("In.txt", "abc");
  File first;
  first.Open("C:\\IN.TXT", kRead);
  File second(std::move(first));
  EXPECT_FALSE(first.IsOpen());
  EXPECT_EQ(second.FilePath(), "C:\\IN.TXT");

  File third;
  third.Open("C:\\IN.TXT", kRead);
  char c;
  EXPECT_EQ(third.Read(&c, 1), 1u);
  third = std::move(second);  // the old file of third is closed, second's taken over
  EXPECT_FALSE(second.IsOpen());
  EXPECT_EQ(third.GetPosition(), 0u);
  EXPECT_EQ(third.Read(&c, 1), 1u);
  EXPECT_EQ(c, 'a');

  // Reopening an open object closes the first file.
  MakeFile("Other.txt", "xyz");
  third.Open("C:\\OTHER.TXT", kRead);
  EXPECT_EQ(third.Read(&c, 1), 1u);
  EXPECT_EQ(c, 'x');
}

}  // namespace
}  // namespace platform
