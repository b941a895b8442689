#include "install/archive/multi_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/archive/archive_checksum.h"
#include "install/errors/xexception.h"
#include "platform/core/exceptions.h"
#include "tests/install/archive/archive_test_support.h"

namespace {

using archive_test::ArchiveTest;
using archive_test::SampleBytes;

// Records the hooks; optionally switches to the next file when one runs out.
class RecordingFile : public CMultiFile {
 public:
  std::vector<uint64_t> segmentsAt;  // bytes read at each OnSegment
  int atEndCalls = 0;
  std::vector<std::string> nextFiles;

 protected:
  void OnSegment() override { segmentsAt.push_back(BytesRead()); }
  bool AtEnd() override {
    ++atEndCalls;
    if (nextFiles.empty()) return true;
    const std::string next = nextFiles.front();
    nextFiles.erase(nextFiles.begin());
    Reopen(next);
    return false;
  }
};

using MultiFile = ArchiveTest;

TEST_F(MultiFile, SegmentHookRunsOncePerBoundaryWhateverTheReadSizes) {
  const std::string bytes = SampleBytes(10000, 1);
  WriteHost("data.bin", bytes);
  RecordingFile file;
  file.SetSegmentSize(4096);
  file.Open(Win("data.bin"), CMultiFile::kOpenForReading);
  std::string read(bytes.size() + 10, '\0');
  std::size_t total = 0;
  for (std::size_t chunk : {1u, 4094u, 1u, 3000u, 7u, 5000u}) total += file.Read(read.data() + total, chunk);
  EXPECT_EQ(total, bytes.size());
  read.resize(total);
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(file.segmentsAt, (std::vector<uint64_t>{4096, 8192}));
  EXPECT_EQ(file.BytesRead(), bytes.size());
  EXPECT_EQ(file.Checksum(), ArchiveChecksum(bytes));
  // The last read came back short: the end hook was asked once and said "end".
  EXPECT_EQ(file.atEndCalls, 1);
  // Reads at the end return nothing and count nothing.
  char byte;
  EXPECT_EQ(file.Read(&byte, 1), 0u);
  EXPECT_EQ(file.segmentsAt.size(), 2u);
}

TEST_F(MultiFile, SegmentSizeZeroMeansNoSegments) {
  RecordingFile file;
  file.SetSegmentSize(0);
  EXPECT_EQ(file.SegmentSize(), CMultiFile::kNoSegments);
  WriteHost("data.bin", SampleBytes(9000, 2));
  file.Open(Win("data.bin"), CMultiFile::kOpenForReading);
  std::string read(9000, '\0');
  EXPECT_EQ(file.Read(read.data(), read.size()), 9000u);
  EXPECT_TRUE(file.segmentsAt.empty());
}

// A read that runs out in one file goes on in the next when the hook switched;
// the counts at the switch become the volume-start offsets, and Open clears them.
TEST_F(MultiFile, AtEndSwitchContinuesTheReadInTheNextFile) {
  WriteHost("part.1", "first-");
  WriteHost("part.2", "second-");
  WriteHost("part.3", "third");
  RecordingFile file;
  file.Open(Win("part.1"), CMultiFile::kOpenForReading);
  file.nextFiles = {Win("part.2"), Win("part.3")};
  std::string read(40, '\0');
  const std::size_t got = file.Read(read.data(), read.size());
  read.resize(got);
  EXPECT_EQ(read, "first-second-third");
  EXPECT_EQ(file.VolumeStartRead(), 13u);
  EXPECT_EQ(file.GetFilePath(), Win("part.3"));
  EXPECT_EQ(file.Checksum(), ArchiveChecksum("first-second-third"));

  file.Open(Win("part.1"), CMultiFile::kOpenForReading);
  EXPECT_EQ(file.VolumeStartRead(), 0u);
  EXPECT_EQ(file.BytesRead(), 18u);  // the counts belong to the caller
}

TEST_F(MultiFile, RawAccessCountsNothingAndReadExactRaisesEndOfFile) {
  WriteHost("data.bin", "0123456789");
  RecordingFile file;
  file.Open(Win("data.bin"), CMultiFile::kOpenForReading);
  char buffer[16];
  EXPECT_EQ(file.RawRead(buffer, 4), 4u);
  EXPECT_EQ(file.BytesRead(), 0u);
  EXPECT_EQ(file.Checksum(), 0u);
  file.ReadExact(buffer, 4);
  EXPECT_EQ(std::string(buffer, 4), "4567");
  try {
    file.ReadExact(buffer, 4);
    FAIL() << "no end-of-file error";
  } catch (const CXFileException& e) {
    EXPECT_EQ(e.Code(), static_cast<int32_t>(platform::FileCause::EndOfFile));
  }
}

TEST_F(MultiFile, CountingWriteChecksumsWhatItWrites) {
  CMultiFile file;
  file.Open(Win("out.bin"), CMultiFile::kCreateOutput);
  file.Write("ab", 2);
  file.Write("c", 1);
  file.RawWrite("zz", 2);  // not counted, not checksummed
  file.Close();
  EXPECT_EQ(file.BytesWritten(), 3u);
  EXPECT_EQ(file.Checksum(), 0x3E105F31u);
  EXPECT_EQ(ReadHost("out.bin"), "abczz");
}

TEST_F(MultiFile, FailedOpensRaiseTheFileErrorWithTheCause) {
  CMultiFile file;
  try {
    file.Open(Win("missing.bin"), CMultiFile::kOpenForReading);
    FAIL() << "opened a missing file";
  } catch (const platform::FileException& e) {
    EXPECT_EQ(e.Cause(), platform::FileCause::FileNotFound);
  }
  try {
    file.Open(Win("no-such-dir/out.bin"), CMultiFile::kCreateOutput);
    FAIL() << "created a file in a missing directory";
  } catch (const platform::FileException& e) {
    EXPECT_EQ(e.Cause(), platform::FileCause::BadPath);
  }
  EXPECT_FALSE(file.IsOpen());
}

}  // namespace
