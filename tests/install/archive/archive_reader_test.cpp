#include "install/archive/archive_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "install/archive/archive_checksum.h"
#include "install/archive/archive_writer.h"
#include "install/errors/multi_file_exception.h"
#include "install/errors/xexception.h"
#include "platform/core/exceptions.h"
#include "platform/fs/file_ops.h"
#include "tests/install/archive/archive_test_support.h"

namespace {

using archive_test::ArchiveHeaderBytes;
using archive_test::ArchiveTest;
using archive_test::EntryBytes;
using archive_test::Entry;
using archive_test::SampleBytes;

// Collects what is written, for ExtractTo.
class StringSink : public CodecSink {
 public:
  void Write(const void* buffer, std::size_t count) override { bytes.append(static_cast<const char*>(buffer), count); }
  std::string bytes;
};

class ArchiveReader : public ArchiveTest {
 protected:
  // Writes the archive and opens it.
  void Open(const std::string& bytes) {
    WriteHost("test.arc", bytes);
    reader_.OpenArchive(Win("test.arc"));
  }

  // Extracts every entry to "out-<n>" and returns the names the headers held.
  std::vector<std::string> ExtractAll() {
    std::vector<std::string> names;
    auto entry = reader_.CreateEntry();
    while (reader_.NextEntry(*entry, false)) {
      entry->SetOutputFileName(Win("out-" + std::to_string(names.size())));
      names.push_back(entry->Header().Name());
      reader_.Extract(*entry);
    }
    return names;
  }

  template <typename Call>
  static int32_t MultiFileCode(Call call) {
    try {
      call();
    } catch (const CMultiFileException& e) {
      return e.Code();
    }
    return 0;
  }

  template <typename Call>
  static platform::FileCause FileCause(Call call) {
    try {
      call();
    } catch (const CXFileException& e) {
      return static_cast<platform::FileCause>(e.Code());
    } catch (const platform::FileException& e) {
      return e.Cause();
    }
    return platform::FileCause::None;
  }

  CArchiveReader reader_;
};

TEST_F(ArchiveReader, HeaderOnlyArchiveAndTrailingFragmentEndWithoutError) {
  Open(ArchiveHeaderBytes());
  EXPECT_EQ(reader_.FirstEntryOffset(), 8u);
  EXPECT_TRUE(ExtractAll().empty());

  Open(ArchiveHeaderBytes() + EntryBytes(Entry("ONE.TXT", "one")) + std::string(345, 'x'));
  EXPECT_EQ(ExtractAll(), std::vector<std::string>{"ONE.TXT"});
  EXPECT_EQ(ReadHost("out-0"), "one");
}

TEST_F(ArchiveReader, ForeignAndDamagedHeadersRaiseTheirCodes) {
  WriteHost("short.arc", "mfl");
  EXPECT_EQ(FileCause([&] { reader_.OpenArchive(Win("short.arc")); }), platform::FileCause::EndOfFile);
  WriteHost("foreign.arc", "PK\3\4xxxxxxxxxxxx");
  EXPECT_EQ(MultiFileCode([&] { reader_.OpenArchive(Win("foreign.arc")); }), CMultiFileException::kNotAnArchive);

  std::string damaged = EntryBytes(Entry("X", "x"));
  damaged[1] = 'F';
  Open(ArchiveHeaderBytes() + EntryBytes(Entry("GOOD", "good")) + damaged);
  auto entry = reader_.CreateEntry();
  ASSERT_TRUE(reader_.NextEntry(*entry, false));
  entry->SetOutputFileName(Win("good"));
  reader_.Extract(*entry);
  EXPECT_EQ(MultiFileCode([&] { reader_.NextEntry(*entry, false); }), CMultiFileException::kMissingEntryHeader);

  Open(ArchiveHeaderBytes() + EntryBytes(Entry("X", "x").Method(7)));
  ASSERT_TRUE(reader_.NextEntry(*entry, false));
  EXPECT_EQ(MultiFileCode([&] { reader_.Extract(*entry); }), CMultiFileException::kUnknownMethod);
}

TEST_F(ArchiveReader, ChecksumZeroIsAcceptedAndAMismatchLeavesTheFileComplete) {
  const std::string data = SampleBytes(5000, 3);
  Open(ArchiveHeaderBytes() + EntryBytes(Entry("A", data).Checksum(0)) +
       EntryBytes(Entry("B", data).Checksum(ArchiveChecksum(data))) +
       EntryBytes(Entry("C", data).Checksum(ArchiveChecksum(data) ^ 1)));
  auto entry = reader_.CreateEntry();
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(reader_.NextEntry(*entry, false));
    entry->SetOutputFileName(Win("ok" + std::to_string(i)));
    reader_.Extract(*entry);
    EXPECT_EQ(ReadHost("ok" + std::to_string(i)), data);
  }
  ASSERT_TRUE(reader_.NextEntry(*entry, false));
  entry->SetOutputFileName(Win("bad"));
  EXPECT_EQ(MultiFileCode([&] { reader_.Extract(*entry); }), CMultiFileException::kChecksumMismatch);
  EXPECT_FALSE(entry->IsOpen());
  EXPECT_EQ(ReadHost("bad"), data);
  EXPECT_FALSE(reader_.IsBusy());
  EXPECT_EQ(reader_.CurrentEntry(), nullptr);
}

TEST_F(ArchiveReader, ExtractToChecksFromMemoryAsExtractDoesFromTheFile) {
  const std::string data = SampleBytes(3000, 4);
  Open(ArchiveHeaderBytes() + EntryBytes(Entry("A", data).Checksum(ArchiveChecksum(data))) +
       EntryBytes(Entry("B", data).Checksum(1)));
  auto entry = reader_.CreateEntry();
  StringSink sink;
  ASSERT_TRUE(reader_.NextEntry(*entry, false));
  reader_.ExtractTo(*entry, sink);
  EXPECT_EQ(sink.bytes, data);
  ASSERT_TRUE(reader_.NextEntry(*entry, false));
  EXPECT_EQ(MultiFileCode([&] { reader_.ExtractTo(*entry, sink); }), CMultiFileException::kChecksumMismatch);
}

TEST_F(ArchiveReader, TimeAttributesAndOnlyTheNameAreApplied) {
  const uint32_t time = 1200000000;
  Open(ArchiveHeaderBytes() +
       EntryBytes(Entry("..\\SUB\\DIR\\README.TXT", "text").Time(time).Attributes(0x21)));
  auto entry = reader_.CreateEntry();
  ASSERT_TRUE(reader_.NextEntry(*entry, false));
  EXPECT_EQ(entry->GetFileName(), "README.TXT");
  entry->SetOutputFileName(Win(entry->GetFileName()));
  reader_.Extract(*entry);

  struct stat st {};
  ASSERT_EQ(stat(Host("README.TXT").c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, static_cast<time_t>(time));
  EXPECT_EQ(st.st_mode & 0222, 0u) << "the read-only bit makes the file read-only";
  EXPECT_NE(platform::GetFileAttributes(Win("README.TXT")) & platform::kAttrReadOnly, 0u);
}

TEST_F(ArchiveReader, DataEndingEarlyRaisesEndOfFile) {
  // Stored data cut short by the end of the file.
  Open(ArchiveHeaderBytes() + EntryBytes(Entry("CUT", std::string(100, 'a'))).substr(0, 346 + 40));
  auto entry = reader_.CreateEntry();
  ASSERT_TRUE(reader_.NextEntry(*entry, false));
  entry->SetOutputFileName(Win("cut"));
  EXPECT_EQ(FileCause([&] { reader_.Extract(*entry); }), platform::FileCause::EndOfFile);
  EXPECT_FALSE(entry->IsOpen());

  // A compressed size beyond the file, even when the data itself is complete.
  Open(ArchiveHeaderBytes() + EntryBytes(Entry("BEYOND", "abc").Compressed(1000000)));
  ASSERT_TRUE(reader_.NextEntry(*entry, false));
  entry->SetOutputFileName(Win("beyond"));
  EXPECT_EQ(FileCause([&] { reader_.Extract(*entry); }), platform::FileCause::EndOfFile);

  // An uncompressed size beyond the compressed one: the codec gets the entry's
  // bytes only, and does not eat the next header.
  Open(ArchiveHeaderBytes() + EntryBytes(Entry("GREEDY", "abc").Uncompressed(400)) + EntryBytes(Entry("NEXT", "next")));
  ASSERT_TRUE(reader_.NextEntry(*entry, false));
  entry->SetOutputFileName(Win("greedy"));
  EXPECT_EQ(FileCause([&] { reader_.Extract(*entry); }), platform::FileCause::EndOfFile);
}

TEST_F(ArchiveReader, TheNextHeaderFollowsTheWholeCompressedData) {
  // Stored data with bytes after it that the codec does not need.
  Open(ArchiveHeaderBytes() + EntryBytes(Entry("A", "abcdefXYZ").Uncompressed(6)) + EntryBytes(Entry("B", "second")));
  EXPECT_EQ(ExtractAll(), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(ReadHost("out-0"), "abcdef");
  EXPECT_EQ(ReadHost("out-1"), "second");
}

TEST_F(ArchiveReader, SeekingSurveyReadsHeadersOnly) {
  Open(ArchiveHeaderBytes() + EntryBytes(Entry("A", std::string(5000, 'a'))) + EntryBytes(Entry("B", "")) +
       EntryBytes(Entry("C", "c")));
  auto entry = reader_.CreateEntry();
  std::vector<std::string> names;
  std::vector<uint64_t> positions;
  while (reader_.NextEntry(*entry, true)) {
    names.push_back(entry->Header().Name());
    positions.push_back(entry->Position());
  }
  EXPECT_EQ(names, (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(positions, (std::vector<uint64_t>{8 + 346 + 5000, 8 + 2 * 346 + 5000, 8 + 3 * 346 + 5001}));
  EXPECT_EQ(reader_.BytesRead(), 0u);
}

// A progress hook inside the codec's reads sees the running state and can
// stop the extraction, which then ends in the silent cancel.
class CancellingReader : public CArchiveReader {
 public:
  int segments = 0;
  bool sawState = false;

 protected:
  void OnSegment() override {
    ++segments;
    sawState = IsBusy() && CurrentEntry() != nullptr && CurrentCodec() != nullptr;
    Abort();
  }
};

TEST_F(ArchiveReader, AbortFromTheSegmentHookCancelsSilently) {
  const std::string data = SampleBytes(100000, 5);
  WriteHost("big.arc", ArchiveHeaderBytes() + EntryBytes(Entry("BIG", data).Time(1000000000)));
  CancellingReader reader;
  reader.OpenArchive(Win("big.arc"));
  auto entry = reader.CreateEntry();
  ASSERT_TRUE(reader.NextEntry(*entry, false));
  entry->SetOutputFileName(Win("partial"));
  EXPECT_THROW(reader.Extract(*entry), CXUserException);
  EXPECT_TRUE(reader.sawState);
  EXPECT_LT(ReadHost("partial").size(), data.size());
  EXPECT_FALSE(reader.IsBusy());
  EXPECT_EQ(reader.CurrentCodec(), nullptr);
  reader.Abort();  // nothing runs: nothing happens
}

// A codec that writes more than it was asked for.
class FloodingCodec : public CCodec {
  void EncodeBody() override {}
  void DecodeBody(uint32_t, uint32_t uncompressedSize) override {
    const std::string flood(uncompressedSize + 100, 'f');
    WriteBlock(flood.data(), flood.size());
  }
};

class FloodingReader : public CArchiveReader {
 public:
  std::unique_ptr<CCodec> CreateCodec(uint32_t, uint32_t) override { return std::make_unique<FloodingCodec>(); }
};

TEST_F(ArchiveReader, NoEntryWritesMoreThanItsUncompressedSize) {
  WriteHost("flood.arc", ArchiveHeaderBytes() + EntryBytes(Entry("TINY", "tiny")));
  FloodingReader reader;
  reader.OpenArchive(Win("flood.arc"));
  auto entry = reader.CreateEntry();
  ASSERT_TRUE(reader.NextEntry(*entry, false));
  entry->SetOutputFileName(Win("flood"));
  EXPECT_EQ(MultiFileCode([&] { reader.Extract(*entry); }), CMultiFileException::kChecksumMismatch);
  EXPECT_LE(ReadHost("flood").size(), 4u);
}

TEST_F(ArchiveReader, PlainFilesAreReadThroughAnEntryBuiltFromTheFile) {
  const std::string data = SampleBytes(9000, 6);
  WriteHost("PLAIN.DLL", data);
  ASSERT_TRUE(platform::SetLastWriteTime(Win("PLAIN.DLL"), 1100000000));
  ASSERT_TRUE(platform::SetFileAttributes(Win("PLAIN.DLL"), platform::kAttrReadOnly));
  platform::FileStatus status;
  ASSERT_TRUE(platform::GetFileStatus(Win("PLAIN.DLL"), status));

  CArchiveReader source;
  source.Open(Win("PLAIN.DLL"), CMultiFile::kOpenForReading);
  auto entry = source.CreateEntry();
  source.BuildEntryFromFile(*entry, Win("PLAIN.DLL"));
  EXPECT_EQ(entry->GetFileName(), "PLAIN.DLL");
  EXPECT_EQ(entry->Header().UncompressedSize(), data.size());
  EXPECT_EQ(entry->Header().Attributes() & 0xFF, platform::kAttrReadOnly);
  EXPECT_EQ(entry->Header().FileTime(), static_cast<uint32_t>(status.creationTime));

  entry->Header().SetMethod(kMethodStored);
  entry->Header().SetCompressedSize(1);  // the source's listed size; the whole file is copied
  entry->SetOutputFileName(Win("copy.dll"));
  source.Extract(*entry);
  EXPECT_EQ(ReadHost("copy.dll"), data);
}

// Compressed data that was cut or changed ends in an error, never in success.
TEST_F(ArchiveReader, DamagedCompressedDataNeverPassesAsIntact) {
  WriteHost("TEXT.TXT", SampleBytes(50000, 9));
  {
    CArchiveWriter writer(Win("good.arc"), {kMethodLh5, 0});
    writer.Add(ArchiveMember(Win("TEXT.TXT")));
    writer.Finish();
  }
  const std::string good = ReadHost("good.arc");
  const std::size_t dataStart = 8 + 346;
  ASSERT_GT(good.size(), dataStart + 100);

  auto expectFailure = [&](const std::string& bytes, const std::string& what) {
    WriteHost("bad.arc", bytes);
    CArchiveReader reader;
    reader.OpenArchive(Win("bad.arc"));
    auto entry = reader.CreateEntry();
    ASSERT_TRUE(reader.NextEntry(*entry, false)) << what;
    StringSink sink;
    try {
      reader.ExtractTo(*entry, sink);
      ADD_FAILURE() << what << ": damaged data passed";
    } catch (const CXException&) {
    } catch (const platform::FileException&) {
    }
    EXPECT_LE(sink.bytes.size(), 50000u) << what;
  };
  for (std::size_t keep : {dataStart, dataStart + 1, dataStart + 40, (dataStart + good.size()) / 2, good.size() - 1}) {
    expectFailure(good.substr(0, keep), "cut at " + std::to_string(keep));
  }
  // The last two bytes may hold only padding bits.
  for (std::size_t at = dataStart; at + 2 < good.size(); at += 97) {
    std::string bad = good;
    bad[at] = static_cast<char>(bad[at] ^ 0x10);
    expectFailure(bad, "byte " + std::to_string(at) + " changed");
  }
}

}  // namespace
