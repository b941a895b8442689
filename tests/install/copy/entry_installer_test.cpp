// Placing one file: the temporary name, kept, replaced and new files with their
// log lines, and the failures that must leave an installed copy alone.

#include <cerrno>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "install/copy/entry_installer.h"
#include "install/errors/xexception.h"
#include "platform/core/exceptions.h"
#include "tests/install/archive/archive_test_support.h"
#include "tests/install/copy/copy_test_support.h"

namespace {

using namespace copy_test;
using archive_test::ArchiveHeaderBytes;
using archive_test::EntryBytes;
using archive_test::EntryRecipe;

// An entry whose output disk fills up after a number of bytes.
class FullDiskEntry : public CArchiveEntry {
 public:
  FullDiskEntry(CArchiveReader* reader, uint64_t room) : CArchiveEntry(reader), room_(room) {}
  void Write(const void* buffer, std::size_t count) override {
    if (BytesWritten() + count > room_) {
      throw platform::FileException(platform::FileCause::DiskFull, ENOSPC, OutputFileName());
    }
    CArchiveEntry::Write(buffer, count);
  }

 private:
  uint64_t room_;
};

// A reader that can fill the disk or abort its codec at a segment, as a
// confirmed Cancel does from the progress tick.
class ScriptedReader : public CArchiveReader {
 public:
  std::optional<uint64_t> diskRoom;
  int segmentsBeforeAbort = -1;

  std::unique_ptr<CArchiveEntry> CreateEntry() override {
    if (diskRoom) return std::make_unique<FullDiskEntry>(this, *diskRoom);
    return CArchiveReader::CreateEntry();
  }

 protected:
  void OnSegment() override {
    if (segmentsBeforeAbort > 0 && --segmentsBeforeAbort == 0) Abort();
  }
};

class EntryInstallerTest : public CopyTest {
 protected:
  EntryInstallerTest() {
    placement_.destinations = &destinations_;
    placement_.logFile = kLog;
  }

  // Installs every entry of the archive; the first failure propagates.
  void InstallAll(const std::string& archive, ScriptedReader& reader) {
    reader.OpenArchive(archive);
    auto entry = reader.CreateEntry();
    while (reader.NextEntry(*entry, false)) InstallEntry(reader, *entry, "Main", placement_);
    reader.Close();
  }
  void InstallAll(const std::string& archive) {
    ScriptedReader reader;
    InstallAll(archive, reader);
  }
  // One stored README.TXT for destination id, of the given text and time.
  std::string ArchiveOf(const std::string& text, uint32_t time, int16_t id = 0) {
    Put("C:\\STAGE\\README.TXT", text, time);
    MakeArchive("C:\\MEDIA\\DATA.1", {{"README.TXT", id}});
    return "C:\\MEDIA\\DATA.1";
  }

  EntryPlacement placement_;
};

struct PlacingCase {
  const char* name;
  std::optional<uint32_t> existingTime;  // nullopt: no installed copy
  bool existingReadOnly;
  const char* expectedText;
  const char* expectedLine;
};
void PrintTo(const PlacingCase& c, std::ostream* os) { *os << c.name; }

class PlacingTest : public EntryInstallerTest, public ::testing::WithParamInterface<PlacingCase> {};

TEST_P(PlacingTest, PlacesOrKeepsAndLogs) {
  const PlacingCase& c = GetParam();
  if (c.existingTime) {
    Put("C:\\APP\\README.TXT", "old", *c.existingTime);
    if (c.existingReadOnly) {
      ASSERT_TRUE(platform::SetFileAttributes("C:\\APP\\README.TXT", platform::kAttrReadOnly));
    }
  }
  InstallAll(ArchiveOf("new", kNew));
  EXPECT_EQ(Get("C:\\APP\\README.TXT"), c.expectedText);
  EXPECT_EQ(LogLine("Main", "README.TXT"), c.expectedLine);
  // No temporary copy stays behind, whatever became of the file.
  EXPECT_EQ(Names("C:\\APP"), std::set<std::string>{"README.TXT"});
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, PlacingTest,
    ::testing::Values(PlacingCase{"NewFile", std::nullopt, false, "new", "0|1|0"},
                      PlacingCase{"OlderCopyReplaced", kOld, false, "new", "0|1|1"},
                      PlacingCase{"NewerCopyKept", kNew + 1, false, "old", "0|0|0"},
                      PlacingCase{"SameTimeKept", kNew, false, "old", "0|0|0"},
                      // The old copy cannot be deleted: it stays, the new copy goes.
                      PlacingCase{"ReadOnlyOlderCopyStays", kOld, true, "old", "0|0|1"}),
    [](const ::testing::TestParamInfo<PlacingCase>& info) { return std::string(info.param.name); });

TEST_F(EntryInstallerTest, CreatesMissingDirectoriesWithTheirParents) {
  InstallAll(ArchiveOf("new", kNew, 1));
  EXPECT_EQ(Get("C:\\APP\\SUB\\README.TXT"), "new");
  EXPECT_EQ(LogLine("Main", "README.TXT"), "1|1|0");
}

TEST_F(EntryInstallerTest, WindowsIdReplacesASystemCopyButPlacesInTheWindowsDirectory) {
  Put("C:\\WINDOWS\\SYSTEM\\README.TXT", "old", kOld);
  InstallAll(ArchiveOf("new", kNew, -2));
  EXPECT_EQ(Get("C:\\WINDOWS\\README.TXT"), "new");
  EXPECT_FALSE(Exists("C:\\WINDOWS\\SYSTEM\\README.TXT"));
  EXPECT_EQ(LogLine("Main", "README.TXT"), "-2|1|1");
}

TEST_F(EntryInstallerTest, UnknownDestinationIdIsAFileError) {
  EXPECT_THROW(InstallAll(ArchiveOf("new", kNew, 7)), CXFileException);
  EXPECT_EQ(LogLine("Main", "README.TXT"), "");
}

// Failed extractions: the installed copy is untouched, no temporary file stays,
// nothing is logged, and the failure reaches the caller.
enum class Damage { Checksum, TruncatedData, DiskFull, Cancel };

struct FailureCase {
  const char* name;
  Damage damage;
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class FailedExtractionTest : public EntryInstallerTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailedExtractionTest, LeavesTheInstalledCopyAlone) {
  Put("C:\\APP\\README.TXT", "old", kOld);
  const std::string data = archive_test::SampleBytes(20000, 7);
  EntryRecipe recipe = EntryRecipe().Name("README.TXT").Data(data).Time(kNew);
  ScriptedReader reader;
  switch (GetParam().damage) {
    case Damage::Checksum: recipe.Checksum(12345); break;
    case Damage::TruncatedData: recipe.Compressed(30000).Uncompressed(30000); break;
    case Damage::DiskFull: reader.diskRoom = 9000; break;
    case Damage::Cancel: reader.segmentsBeforeAbort = 2; break;
  }
  Put("C:\\MEDIA\\DATA.1", ArchiveHeaderBytes() + EntryBytes(recipe));

  try {
    InstallAll("C:\\MEDIA\\DATA.1", reader);
    ADD_FAILURE() << "the extraction succeeded";
  } catch (const CXUserException&) {
    EXPECT_EQ(GetParam().damage, Damage::Cancel);
  } catch (const std::exception&) {
    EXPECT_NE(GetParam().damage, Damage::Cancel);
  }
  EXPECT_EQ(Get("C:\\APP\\README.TXT"), "old");
  platform::FileStatus status;
  ASSERT_TRUE(platform::GetFileStatus("C:\\APP\\README.TXT", status));
  EXPECT_EQ(status.lastWriteTime, kOld);
  EXPECT_EQ(Names("C:\\APP"), std::set<std::string>{"README.TXT"});
  EXPECT_EQ(LogLine("Main", "README.TXT"), "");
}

INSTANTIATE_TEST_SUITE_P(Damages, FailedExtractionTest,
                         ::testing::Values(FailureCase{"ChecksumMismatch", Damage::Checksum},
                                           FailureCase{"TruncatedData", Damage::TruncatedData},
                                           FailureCase{"DiskFull", Damage::DiskFull},
                                           FailureCase{"Cancel", Damage::Cancel}),
                         [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

// A draw sequence that repeats values, for predictable names.
RandomDraw Sequence(std::vector<int> values) {
  auto state = std::make_shared<std::pair<std::vector<int>, std::size_t>>(std::move(values), 0);
  return [state] { return state->first[state->second++ % state->first.size()]; };
}

TEST_F(EntryInstallerTest, TemporaryNameSkipsTakenNamesAndKeepsTheExtension) {
  Put("C:\\APP\\00010002.TXT", "taken");
  // The first five draws give 00010002 (taken), the next five 7fff0000.
  const RandomDraw draw = Sequence({1, 2, 3, 4, 5, 0x7FFF, 0, 0, 0, 0});
  EXPECT_EQ(MakeTemporaryPath("C:\\APP\\README.TXT", draw), "C:\\APP\\7fff0000.TXT");
  EXPECT_EQ(MakeTemporaryPath("C:\\APP\\NOEXT", Sequence({0xABC})), "C:\\APP\\0abc0abc");
}

TEST_F(EntryInstallerTest, NoFreeTemporaryNameFailsTheFileWithoutTouchingTheTakenOne) {
  Put("C:\\APP\\00000000.TXT", "someone else's");
  placement_.draw = Sequence({0});
  EXPECT_THROW(InstallAll(ArchiveOf("new", kNew)), CXFileException);
  EXPECT_EQ(Get("C:\\APP\\00000000.TXT"), "someone else's");
  EXPECT_FALSE(Exists("C:\\APP\\README.TXT"));
  EXPECT_EQ(LogLine("Main", "README.TXT"), "");
}

// While a file is extracted the log names it and its temporary copy, so that a
// removal after a kill finds both; afterwards only the file's line is left,
// and after a failure neither.
class LogWatchingReader : public ScriptedReader {
 public:
  std::string placedLine, temporaryLine;

 protected:
  void OnSegment() override {
    if (placedLine.empty()) {
      placedLine = LineOf("README.TXT");
      temporaryLine = LineOf("7fff7fff.TXT");
    }
    ScriptedReader::OnSegment();
  }
  static std::string LineOf(const char* key) {
    char buffer[64];
    platform::GetPrivateProfileString("Main", key, "", buffer, sizeof buffer, kLog);
    return buffer;
  }
};

TEST_F(EntryInstallerTest, TheLogNamesTheFileAndItsTemporaryCopyBeforeEitherExists) {
  placement_.draw = Sequence({0x7FFF});
  for (const bool damaged : {true, false}) {
    SCOPED_TRACE(damaged ? "damaged" : "whole");
    EntryRecipe recipe = EntryRecipe().Name("README.TXT").Data(archive_test::SampleBytes(20000, 3)).Time(kNew);
    if (damaged) recipe.Checksum(12345);
    Put("C:\\MEDIA\\DATA.1", ArchiveHeaderBytes() + EntryBytes(recipe));
    LogWatchingReader reader;
    if (damaged) {
      EXPECT_ANY_THROW(InstallAll("C:\\MEDIA\\DATA.1", reader));
    } else {
      InstallAll("C:\\MEDIA\\DATA.1", reader);
    }
    EXPECT_EQ(reader.placedLine, "0|1|0");
    EXPECT_EQ(reader.temporaryLine, "0|1|0");
    EXPECT_EQ(LogLine("Main", "7fff7fff.TXT"), "");
    EXPECT_EQ(LogLine("Main", "README.TXT"), damaged ? "" : "0|1|0");
    EXPECT_EQ(Exists("C:\\APP\\README.TXT"), !damaged);
    platform::DeleteFile("C:\\APP\\README.TXT");
  }
}

}  // namespace
