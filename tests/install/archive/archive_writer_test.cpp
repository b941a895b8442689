#include "install/archive/archive_writer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>
#include <string>
#include <vector>

#include "install/archive/archive_checksum.h"
#include "install/archive/archive_volume_reader.h"
#include "install/errors/multi_file_exception.h"
#include "platform/core/exceptions.h"
#include "platform/fs/file_ops.h"
#include "tests/install/archive/archive_test_support.h"

namespace {

using archive_test::ArchiveTest;
using archive_test::SampleBytes;

class StringSink : public CodecSink {
 public:
  void Write(const void* buffer, std::size_t count) override { bytes.append(static_cast<const char*>(buffer), count); }
  std::string bytes;
};

struct ReadBack {
  std::string name;
  std::string data;
  ArchiveEntryHeader header;
  int volume = 0;
};

class ArchiveWriter : public ArchiveTest {
 protected:
  // Writes the files as "src/<name>" and archives them in order.
  std::vector<std::string> Create(const std::string& archive, const std::vector<std::pair<std::string, std::string>>& files,
                                  ArchiveWriterOptions options) {
    CArchiveWriter writer(Win(archive), options);
    for (const auto& [name, data] : files) {
      WriteHost("src/" + name, data);
      writer.Add(ArchiveMember(Win("src/" + name)));
    }
    writer.Finish();
    return writer.VolumePaths();
  }

  // Reads every entry back through the volumes, checking checksums.
  std::vector<ReadBack> ReadAll(const std::string& archive) {
    CVolumeArchiveReader reader;
    reader.OpenArchive(Win(archive));
    auto entry = reader.CreateEntry();
    std::vector<ReadBack> entries;
    while (true) {
      const int volume = reader.VolumeIndex();
      if (!reader.NextEntry(*entry, false)) break;
      StringSink sink;
      reader.ExtractTo(*entry, sink);
      entries.push_back({entry->GetFileName(), sink.bytes, entry->Header(), volume});
    }
    return entries;
  }

  // Every volume starts with its header and keeps to the size.
  void ExpectVolumesWellFormed(const std::vector<std::string>& volumes, uint64_t volumeSize) {
    for (const std::string& volume : volumes) {
      platform::FileStatus status;
      ASSERT_TRUE(platform::GetFileStatus(volume, status)) << volume;
      EXPECT_LE(status.size, volumeSize) << volume;
      std::filesystem::path host;
      ASSERT_TRUE(platform::MapToHost(volume, host));
      EXPECT_EQ(qmtest::ReadFileText(host).substr(0, 8), std::string("mflh\0\0\0\0", 8)) << volume;
    }
  }
};

TEST_F(ArchiveWriter, OneVolumeRoundTripKeepsEveryField) {
  WriteHost("src/KEEP.TXT", "keep me");
  ASSERT_TRUE(platform::SetLastWriteTime(Win("src/KEEP.TXT"), 1300000000));
  ASSERT_TRUE(platform::SetFileAttributes(Win("src/KEEP.TXT"), platform::kAttrReadOnly | platform::kAttrArchive));
  WriteHost("src/other.bin", SampleBytes(20000, 1));
  {
    CArchiveWriter writer(Win("one.arc"), {kMethodStored, 0});
    ArchiveMember keep(Win("src/KEEP.TXT"));
    keep.destinationId = -3;
    writer.Add(keep);
    ArchiveMember other(Win("src/other.bin"));
    other.name = "RENAMED.BIN";
    other.destinationId = 7;
    other.attributes = 0x02;
    other.fileTime = 42;
    writer.Add(other);
    writer.Finish();
    EXPECT_EQ(writer.VolumePaths(), std::vector<std::string>{Win("one.arc")});
  }
  const auto entries = ReadAll("one.arc");
  ASSERT_EQ(entries.size(), 2u);
  const ArchiveEntryHeader& keep = entries[0].header;
  EXPECT_EQ(entries[0].name, "KEEP.TXT");
  EXPECT_EQ(entries[0].data, "keep me");
  EXPECT_EQ(keep.FileTime(), 1300000000u);
  EXPECT_EQ(keep.Attributes() & platform::kAttrReadOnly, platform::kAttrReadOnly);
  EXPECT_EQ(keep.DestinationId(), -3);
  EXPECT_EQ(keep.Checksum(), ArchiveChecksum("keep me"));
  EXPECT_EQ(keep.Method(), kMethodStored);
  EXPECT_EQ(keep.MethodParameter(), 0u);
  EXPECT_EQ(keep.Continued(), 0);
  EXPECT_EQ(entries[1].name, "RENAMED.BIN");
  EXPECT_EQ(entries[1].data, SampleBytes(20000, 1));
  EXPECT_EQ(entries[1].header.DestinationId(), 7);
  EXPECT_EQ(entries[1].header.Attributes(), 0x02);
  EXPECT_EQ(entries[1].header.FileTime(), 42u);

  // The fields nobody interprets are zero.
  const auto& raw = keep.Raw();
  for (std::size_t i : {12u, 13u, 14u, 15u, 288u, 289u, 290u, 291u, 306u, 345u}) EXPECT_EQ(raw[i], 0) << i;
}

TEST_F(ArchiveWriter, ThreeVolumesCarryAnEntryAcrossBothVolumeEnds) {
  const uint64_t size = 4096;
  const std::vector<std::pair<std::string, std::string>> files = {
      {"A.TXT", SampleBytes(1000, 1)}, {"B.BIN", SampleBytes(9000, 2)}, {"C.TXT", "c"}};
  const auto volumes = Create("DATA.1", files, {kMethodStored, size});
  ASSERT_EQ(volumes, (std::vector<std::string>{Win("DATA.1"), Win("DATA.2"), Win("DATA.3")}));
  ExpectVolumesWellFormed(volumes, size);

  const auto entries = ReadAll("DATA.1");
  ASSERT_EQ(entries.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(entries[i].name, files[i].first);
    EXPECT_EQ(entries[i].data, files[i].second) << files[i].first;
  }
  EXPECT_EQ(entries[0].header.Continued(), 0);
  EXPECT_NE(entries[1].header.Continued(), 0);
  EXPECT_EQ(entries[1].header.CompressedSize(), 9000u) << "the whole length, over all volumes";
  EXPECT_EQ(entries[1].volume, 0);
  EXPECT_EQ(entries[2].volume, 2);
}

// Every layout the writer may choose must read back: volume sizes around the
// header sizes, files of every size class, runs of empty files.
TEST_F(ArchiveWriter, LayoutsReadBackForManyVolumeSizesAndFileMixes) {
  std::mt19937 random(11);
  int continued = 0;
  int earlyEnds = 0;  // volumes before the last that are not full
  for (int round = 0; round < 40; ++round) {
    const uint64_t size = 1024 + random() % 3000;
    std::vector<std::pair<std::string, std::string>> files;
    const int count = 1 + static_cast<int>(random() % 6);
    for (int i = 0; i < count; ++i) {
      const unsigned kind = random() % 5;
      const std::size_t length = kind == 0 ? 0 : kind == 1 ? 1 + random() % 8 : kind == 2 ? 300 + random() % 100
                                                                              : random() % 3000;
      files.emplace_back("F" + std::to_string(i) + ".DAT", SampleBytes(length, random()));
    }
    const std::string archive = "R" + std::to_string(round) + ".a";  // up to 26 volumes
    // -lh5- reads ahead in blocks, so its reads cross volume ends differently.
    const uint32_t method = round % 2 == 0 ? kMethodStored : kMethodLh5;
    std::vector<std::string> volumes;
    try {
      volumes = Create(archive, files, {method, size});
    } catch (const ArchiveWriterError& e) {
      ADD_FAILURE() << "round " << round << ": " << e.what();
      continue;
    }
    ExpectVolumesWellFormed(volumes, size);
    const auto entries = ReadAll(archive);
    ASSERT_EQ(entries.size(), files.size()) << "round " << round;
    for (std::size_t i = 0; i < files.size(); ++i) {
      EXPECT_EQ(entries[i].data, files[i].second) << "round " << round << " file " << i;
      if (entries[i].header.Continued() != 0) ++continued;
    }
    for (std::size_t v = 0; v + 1 < volumes.size(); ++v) {
      platform::FileStatus status;
      if (platform::GetFileStatus(volumes[v], status) && status.size < size) ++earlyEnds;
    }
  }
  EXPECT_GT(continued, 20);
  EXPECT_GT(earlyEnds, 5) << "the mixes should make the writer start volumes early";
}

TEST_F(ArchiveWriter, CompressedEntriesDecodeAcrossVolumes) {
  std::string noise(30000, '\0');
  std::mt19937 random(5);
  for (char& c : noise) c = static_cast<char>(random());
  const std::vector<std::pair<std::string, std::string>> files = {
      {"TEXT.TXT", SampleBytes(200000, 7)}, {"NOISE.BIN", noise}, {"EMPTY", ""}, {"ONE", "1"}};
  const auto volumes = Create("PACK.1", files, {kMethodLh5, 16384});
  EXPECT_GE(volumes.size(), 3u);
  ExpectVolumesWellFormed(volumes, 16384);
  const auto entries = ReadAll("PACK.1");
  ASSERT_EQ(entries.size(), files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(entries[i].data, files[i].second) << files[i].first;
    EXPECT_EQ(entries[i].header.Method(), kMethodLh5);
  }
  EXPECT_LT(entries[0].header.CompressedSize(), 200000u / 2) << "text compresses";
}

TEST_F(ArchiveWriter, MissingOrForeignNextVolumeIsAClearError) {
  const auto volumes = Create("SET.1", {{"BIG.BIN", SampleBytes(5000, 3)}}, {kMethodStored, 2048});
  ASSERT_EQ(volumes.size(), 3u);
  const std::string third = ReadHost("SET.3");
  std::filesystem::remove(Host("SET.3"));

  auto extractFirst = [&] {
    CVolumeArchiveReader reader;
    reader.OpenArchive(Win("SET.1"));
    auto entry = reader.CreateEntry();
    EXPECT_TRUE(reader.NextEntry(*entry, false));
    entry->SetOutputFileName(Win("big.out"));
    reader.Extract(*entry);
  };
  try {
    extractFirst();
    FAIL() << "extracted without its last volume";
  } catch (const platform::FileException& e) {
    EXPECT_EQ(e.Cause(), platform::FileCause::FileNotFound);
    EXPECT_NE(e.FileName().find("SET.3"), std::string::npos);
  }

  WriteHost("SET.3", "MZ" + third.substr(2));
  try {
    extractFirst();
    FAIL() << "read a volume without its header";
  } catch (const CMultiFileException& e) {
    EXPECT_EQ(e.Code(), CMultiFileException::kNotAnArchive);
  }
}

TEST_F(ArchiveWriter, RefusesWhatItCannotLayOut) {
  EXPECT_THROW(CArchiveWriter(Win("tiny.1"), {kMethodStored, 500}), ArchiveWriterError);

  // '8' counts to '9' and no further.
  WriteHost("src/big", SampleBytes(5000, 4));
  {
    CArchiveWriter writer(Win("END.8"), {kMethodStored, 2048});
    EXPECT_THROW(writer.Add(ArchiveMember(Win("src/big"))), ArchiveWriterError);
    writer.Discard();
  }
  EXPECT_FALSE(std::filesystem::exists(Host("END.8")));
  EXPECT_FALSE(std::filesystem::exists(Host("END.9")));

  // Five empty files in a row need 5 * 346 bytes of one volume.
  WriteHost("src/empty", "");
  CArchiveWriter writer(Win("EMPTY.1"), {kMethodStored, 1024});
  for (int i = 0; i < 5; ++i) writer.Add(ArchiveMember(Win("src/empty")));
  EXPECT_THROW(writer.Finish(), ArchiveWriterError);
  writer.Discard();

  CArchiveWriter self(Win("SELF.1"));
  EXPECT_THROW(self.Add(ArchiveMember(Win("SELF.1"))), ArchiveWriterError);
  self.Discard();
}

TEST(ArchiveVolumeNames, DigitsAndLettersCountWithinTheirClass) {
  EXPECT_EQ(NextVolumeName("A:\\DATA.1"), "A:\\DATA.2");
  EXPECT_EQ(NextVolumeName("PROG.ARC"), "PROG.ARD");
  EXPECT_EQ(NextVolumeName("x.y"), "x.z");
  EXPECT_EQ(NextVolumeName("DATA.9"), std::nullopt);
  EXPECT_EQ(NextVolumeName("DATA.Z"), std::nullopt);
  EXPECT_EQ(NextVolumeName("DATA.z"), std::nullopt);
  EXPECT_EQ(NextVolumeName("DATA._"), std::nullopt);
  EXPECT_EQ(NextVolumeName(""), std::nullopt);
}

}  // namespace
