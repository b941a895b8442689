#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "install/archive/archive_entry_header.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "tests/common/temp_machine.h"
#include "tests/tools/random_bytes.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;
using qmtest::RandomBytes;
using qmtest::ReadFileText;
using qmtest::RunTool;
using qmtest::WriteFileText;

struct SourceFile {
  std::string name;
  std::string bytes;
  uint32_t attributes;
  int64_t time;
};

std::string Text(std::size_t size) {
  std::string text;
  for (int line = 0; text.size() < size; ++line) text += "Line " + std::to_string(line) + " of the label design text\r\n";
  text.resize(size);
  return text;
}

class QmtoolArc : public ::testing::Test {
 protected:
  qmtest::ToolResult Arc(const std::vector<std::string>& args) {
    std::vector<std::string> all{"arc"};
    all.insert(all.end(), args.begin(), args.end());
    return RunTool("qmtool", all, {"QMSETUP_SYSTEM=" + machine_.Root().string()});
  }

  std::string Win(const fs::path& host) const { return platform::MapToWindows(host); }

  // Files of varied sizes, attributes and times in src/.
  std::vector<SourceFile> MakeSources() {
    const std::vector<SourceFile> files = {
        {"BIG.BIN", RandomBytes(60000, 1), platform::kAttrArchive, 1000000000},
        {"TEXT.TXT", Text(20000), 0, 1100000000},
        {"EMPTY.DAT", "", platform::kAttrArchive, 1200000000},
        {"ONE.BIN", "x", 0, 1300000000},
        {"README.TXT", Text(3000), platform::kAttrReadOnly, 1400000000},
        {"SETUP.SYS", RandomBytes(5000, 2), platform::kAttrHidden | platform::kAttrSystem, 1500000000},
    };
    for (const SourceFile& file : files) {
      const fs::path host = src_ / file.name;
      WriteFileText(host, file.bytes);
      EXPECT_TRUE(platform::SetLastWriteTime(Win(host), file.time)) << file.name;
      EXPECT_TRUE(platform::SetFileAttributes(Win(host), file.attributes)) << file.name;
    }
    return files;
  }

  qmtest::TempMachineRoot machine_;
  fs::path src_ = machine_.Root() / "src";
  fs::path media_ = machine_.Root() / "media";
};

TEST_F(QmtoolArc, ThreeVolumeArchiveRoundTripsBytesTimesAndAttributes) {
  const std::vector<SourceFile> files = MakeSources();
  fs::create_directories(media_);
  const auto create = Arc({"create", (media_ / "DATA.1").string(), "--volume-size", "32768", "--dest-id", "-3", src_.string()});
  ASSERT_EQ(create.exitCode, 0) << create.err;
  EXPECT_NE(create.out.find("3 volumes"), std::string::npos) << create.out;
  for (const char* volume : {"DATA.1", "DATA.2", "DATA.3"}) {
    EXPECT_LE(fs::file_size(media_ / volume), 32768u) << volume;
  }

  const auto list = Arc({"list", (media_ / "DATA.1").string()});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  for (const SourceFile& file : files) EXPECT_NE(list.out.find(file.name), std::string::npos) << file.name;
  EXPECT_NE(list.out.find("lh5"), std::string::npos);
  EXPECT_NE(list.out.find("yes"), std::string::npos) << "some entry continues into the next volume\n" << list.out;
  EXPECT_NE(list.out.find("-3"), std::string::npos);
  EXPECT_NE(list.out.find("R---"), std::string::npos);
  EXPECT_NE(list.out.find("2001-09-09 01:46:40"), std::string::npos) << "BIG.BIN's time in UTC\n" << list.out;
  EXPECT_NE(list.out.find("6 files"), std::string::npos) << list.out;

  const auto test = Arc({"test", (media_ / "DATA.1").string()});
  ASSERT_EQ(test.exitCode, 0) << test.err;
  EXPECT_NE(test.out.find("6 entries tested: no errors"), std::string::npos) << test.out;

  const fs::path out = machine_.Root() / "out";
  const auto extract = Arc({"extract", (media_ / "DATA.1").string(), "--to", out.string()});
  ASSERT_EQ(extract.exitCode, 0) << extract.err;
  for (const SourceFile& file : files) {
    const fs::path host = out / file.name;
    EXPECT_EQ(ReadFileText(host), file.bytes) << file.name;
    struct stat st {};
    ASSERT_EQ(stat(host.c_str(), &st), 0) << file.name;
    EXPECT_EQ(st.st_mtime, file.time) << file.name;
    // What the platform reports for the source (hidden and system need
    // extended attributes) is what the extracted file must report.
    EXPECT_EQ(platform::GetFileAttributes(Win(host)), platform::GetFileAttributes(Win(src_ / file.name))) << file.name;
  }
  EXPECT_EQ(qmtest::ModeOf(out / "README.TXT") & 0222, 0u) << "read-only from the archive";

  // Extracting again replaces the files, the read-only one too.
  const auto again = Arc({"extract", (media_ / "DATA.1").string(), "--to", out.string()});
  EXPECT_EQ(again.exitCode, 0) << again.err;
}

TEST_F(QmtoolArc, DamageAndMissingVolumesFailNamingTheEntryAndTheError) {
  MakeSources();
  fs::create_directories(media_);
  ASSERT_EQ(Arc({"create", (media_ / "SET.A").string(), "--method", "stored", "--volume-size", "40000",
                 src_.string()}).exitCode, 0);
  ASSERT_TRUE(fs::exists(media_ / "SET.C"));

  // One flipped byte in the stored data of BIG.BIN, which starts after the
  // archive header and its entry header.
  std::string first = ReadFileText(media_ / "SET.A");
  first[8 + 346 + 100] ^= 0x55;
  WriteFileText(media_ / "SET.A", first);
  const auto test = Arc({"test", (media_ / "SET.A").string()});
  EXPECT_EQ(test.exitCode, 1);
  EXPECT_NE(test.err.find("BIG.BIN: Archive file damaged (CRC Mismatch)"), std::string::npos) << test.err;
  EXPECT_NE(test.err.find("diskette drive alignment"), std::string::npos) << "the long text too\n" << test.err;
  EXPECT_TRUE(test.out.empty()) << test.out;

  const fs::path out = machine_.Root() / "out";
  const auto extract = Arc({"extract", (media_ / "SET.A").string(), "--to", out.string()});
  EXPECT_EQ(extract.exitCode, 1);
  EXPECT_FALSE(fs::exists(out / "BIG.BIN")) << "a file that failed its check is not left behind";

  fs::remove(media_ / "SET.C");
  const auto list = Arc({"list", (media_ / "SET.A").string()});
  EXPECT_EQ(list.exitCode, 1);
  EXPECT_NE(list.err.find("File not found."), std::string::npos) << list.err;
  EXPECT_NE(list.err.find("SET.C"), std::string::npos) << list.err;

  WriteFileText(media_ / "NOT.ARC", "just text, long enough to hold a header");
  const auto foreign = Arc({"list", (media_ / "NOT.ARC").string()});
  EXPECT_EQ(foreign.exitCode, 1);
  EXPECT_NE(foreign.err.find("File is not an archive file."), std::string::npos) << foreign.err;
}

TEST_F(QmtoolArc, ExtractWritesNamesOnlyInsideTheTargetDirectory) {
  std::string archive("mflh\0\0\0\0", 8);
  for (const char* name : {"..\\..\\ESCAPE.TXT", "C:\\WINDOWS\\WIN.INI", "..", "SAFE.TXT"}) {
    ArchiveEntryHeader header;
    header.SetName(name);
    header.SetMethod(2);
    header.SetUncompressedSize(2);
    header.SetCompressedSize(2);
    archive.append(reinterpret_cast<const char*>(header.Raw().data()), header.Raw().size());
    archive += "ok";
  }
  WriteFileText(machine_.Root() / "names.arc", archive);
  const fs::path out = machine_.Root() / "deep" / "out";
  const auto extract = Arc({"extract", (machine_.Root() / "names.arc").string(), "--to", out.string()});
  EXPECT_EQ(extract.exitCode, 1) << "the entry named '..' is refused";
  EXPECT_NE(extract.err.find("not a usable file name"), std::string::npos) << extract.err;
  EXPECT_EQ(ReadFileText(out / "ESCAPE.TXT"), "ok");
  EXPECT_EQ(ReadFileText(out / "WIN.INI"), "ok");
  EXPECT_EQ(ReadFileText(out / "SAFE.TXT"), "ok") << "entries after a refused one are still found";
  EXPECT_FALSE(fs::exists(machine_.Root() / "deep" / "ESCAPE.TXT"));
  EXPECT_FALSE(fs::exists(machine_.Root() / "ESCAPE.TXT"));
}

TEST_F(QmtoolArc, UsageErrorsAndHelp) {
  const auto help = Arc({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("qmtool arc create ARCHIVE"), std::string::npos);
  EXPECT_EQ(Arc({"--version"}).exitCode, 0);
  EXPECT_EQ(Arc({}).exitCode, 2);
  EXPECT_EQ(Arc({"unpack", "x"}).exitCode, 2);
  EXPECT_EQ(Arc({"list"}).exitCode, 2);
  EXPECT_EQ(Arc({"create", "x.arc"}).exitCode, 2);
  EXPECT_EQ(Arc({"create", "x.arc", "--method", "zip", "f"}).exitCode, 2);
  EXPECT_EQ(Arc({"create", "x.arc", "--volume-size", "100", "f"}).exitCode, 2);
  EXPECT_EQ(Arc({"create", "x.arc", "--dest-id", "40000", "f"}).exitCode, 2);
  const auto missing = Arc({"test", (machine_.Root() / "none.arc").string()});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("File not found."), std::string::npos) << missing.err;
}

}  // namespace
