// qmtool media build: diskettes from a product tree and a manifest, read back
// with the setup's own readers.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "install/archive/archive_entry.h"
#include "install/archive/archive_volume_reader.h"
#include "install/codec/codec.h"
#include "install/tables/destination_table.h"
#include "install/tables/diskette_table.h"
#include "install/tables/group_table.h"
#include "install/tables/install_tables.h"
#include "install/tables/source_file_list.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "platform/process/process.h"
#include "system/target_table.h"
#include "tests/common/temp_machine.h"
#include "tests/tools/media_tables.h"
#include "tests/tools/random_bytes.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;
using qmtest::RandomBytes;
using qmtest::ReadFileText;
using qmtest::RunTool;
using qmtest::WriteFileText;

constexpr int kDiskSize = 40000;

std::string Text(std::size_t size) {
  std::string text;
  for (int line = 0; text.size() < size; ++line) text += "Line " + std::to_string(line) + " of the help text\r\n";
  text.resize(size);
  return text;
}

// A file of the product tree with its last-write time.
struct TreeFile {
  std::string path;
  std::string bytes;
  int64_t time;
};

// Every file under a directory, by relative path.
std::map<std::string, std::string> Contents(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& item : fs::recursive_directory_iterator(root)) {
    if (item.is_regular_file()) files[fs::relative(item.path(), root).generic_string()] = ReadFileText(item.path());
  }
  return files;
}

class StringSink : public CodecSink {
 public:
  void Write(const void* buffer, std::size_t count) override { bytes.append(static_cast<const char*>(buffer), count); }
  std::string bytes;
};

class QmtoolMedia : public ::testing::Test {
 protected:
  QmtoolMedia() {
    for (const TreeFile& file : tree_) {
      WriteFileText(treeDir_ / file.path, file.bytes);
      EXPECT_TRUE(platform::SetLastWriteTime(platform::MapToWindows(treeDir_ / file.path), file.time)) << file.path;
    }
  }

  // The manifest with line n (1-based) replaced, or with nothing changed.
  void WriteManifest(const std::map<int, std::string>& replaced = {}) {
    std::string text;
    for (std::size_t i = 0; i < manifestLines_.size(); ++i) {
      const auto found = replaced.find(static_cast<int>(i + 1));
      text += (found == replaced.end() ? manifestLines_[i] : found->second) + "\n";
    }
    WriteFileText(manifest_, text);
  }

  qmtest::ToolResult Build(const fs::path& out) {
    return RunTool("qmtool", {"media", "build", manifest_.string(), out.string()},
                   {"QMSETUP_SYSTEM=" + machine_.Root().string()});
  }

  // What lies beside an output directory, built or not.
  std::vector<std::string> EntriesOf(const fs::path& directory) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(directory)) names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  qmtest::TempMachineRoot machine_;
  fs::path treeDir_ = machine_.Root() / "tree";
  fs::path manifest_ = machine_.Root() / "product.qmm";
  fs::path out_ = machine_.Root() / "media";
  const std::vector<TreeFile> tree_ = {
      {"setup/SETUP.EXE", RandomBytes(3000, 1), 900000000},
      {"setup/cv_setup.ini", "[Setup]\r\n", 900000001},
      {"setup/agree.txt", Text(500), 900000002},
      {"bin/QM.EXE", RandomBytes(45000, 2), 1000000000},
      {"bin/QM.HLP", Text(30000), 1100000000},
      {"fonts/LABEL.FON", RandomBytes(4000, 3), 1200000000},
      {"README.TXT", Text(2000), 1300000000},
  };
  // Line numbers matter to the error cases below.
  const std::vector<std::string> manifestLines_ = {
      "; Quillmark 2.0 diskettes",              // 1
      "[product]",                              // 2
      "title = Quillmark 2.0",                  // 3
      "tree = tree",                            // 4
      "disk size = " + std::to_string(kDiskSize),  // 5
      "setup = setup/SETUP.EXE",                // 6
      "profile = setup/cv_setup.ini",           // 7
      "licence = setup/agree.txt",              // 8
      "[diskettes]",                            // 9
      "1 = Quillmark Program Disk",             // 10
      "[groups]",                               // 11
      "program = Program|The program|1|1|1",    // 12
      "Fonts = Fonts|Label fonts|0|1|1",        // 13
      "[destinations]",                         // 14
      "0 = QMW2||C:\\QMW2",                     // 15
      "1 = FONTS|0|",                           // 16
      "[targets]",                              // 17
      "QM.EXE = 0|-1|0|Quillmark||QM.EXE|",     // 18
      "[archive QM.1]",                         // 19
      "method = lh5",                           // 20
      "group = program",                        // 21
      "file = bin/QM.EXE|0",                    // 22
      "file = bin/QM.HLP|0",                    // 23
      "[archive FONTS.1]",                      // 24
      "method = stored",                        // 25
      "group = Fonts",                          // 26
      "file = fonts/LABEL.FON|1",               // 27
      "[plain]",                                // 28
      "file = README.TXT|program|0|late",       // 29
  };
};

TEST_F(QmtoolMedia, ArchiveSpansTwoDiskettesAndDisk1HoldsTheSetupFiles) {
  WriteManifest();
  const auto result = Build(out_);
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");

  EXPECT_EQ(EntriesOf(out_ / "DISK01"), (std::vector<std::string>{"QM.1", "SETUP.EXE", "SETUP.ini", "agree.txt",
                                                                  "cv_setup.ini", "diskette.001"}));
  const std::vector<std::string> disk2 = EntriesOf(out_ / "DISK02");
  EXPECT_TRUE(std::count(disk2.begin(), disk2.end(), "QM.2")) << ::testing::PrintToString(disk2);
  EXPECT_TRUE(std::count(disk2.begin(), disk2.end(), "diskette.002"));
  EXPECT_EQ(ReadFileText(out_ / "DISK01" / "diskette.001"), "Quillmark Program Disk\r\n");
  EXPECT_EQ(ReadFileText(out_ / "DISK02" / "diskette.002"), "Quillmark 2.0 Disk 2\r\n");
  EXPECT_EQ(ReadFileText(out_ / "DISK01" / "SETUP.EXE"), tree_[0].bytes);
  EXPECT_EQ(ReadFileText(out_ / "DISK01" / "cv_setup.ini"), tree_[1].bytes);
  EXPECT_EQ(ReadFileText(out_ / "DISK01" / "agree.txt"), tree_[2].bytes);
  for (const std::string& disk : EntriesOf(out_)) {
    uint64_t bytes = 0;
    for (const auto& item : fs::directory_iterator(out_ / disk)) bytes += item.file_size();
    EXPECT_LE(bytes, static_cast<uint64_t>(kDiskSize)) << disk;
  }
}

TEST_F(QmtoolMedia, AnArchiveStartsOnAFreshDisketteWhenThatNeedsFewerDisks) {
  // A large setup program leaves little room on disk 1: volumes that small
  // would spread QM.1 over six diskettes, volumes of a whole disk over two.
  WriteFileText(treeDir_ / tree_[0].path, RandomBytes(31000, 5));
  WriteManifest();
  const auto result = Build(out_);
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> disk1 = EntriesOf(out_ / "DISK01");
  EXPECT_FALSE(std::count(disk1.begin(), disk1.end(), "QM.1")) << result.out;
  EXPECT_TRUE(fs::exists(out_ / "DISK02" / "QM.1")) << result.out;
  EXPECT_TRUE(fs::exists(out_ / "DISK03" / "QM.2")) << result.out;
  EXPECT_FALSE(fs::exists(out_ / "DISK04")) << result.out;
  EXPECT_NE(ReadFileText(out_ / "DISK01" / "SETUP.ini").find("\r\nQM.1=75000|1|2|2|0|\r\n"), std::string::npos);
}

TEST_F(QmtoolMedia, AnArchiveRunsOverAsManyDiskettesAsItNeeds) {
  WriteManifest({{5, "disk size = 16384"}});
  const auto result = Build(out_);
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(fs::exists(out_ / "DISK03"));
  EXPECT_EQ(result.err, "");
}

TEST_F(QmtoolMedia, TablesFileLoadsWithTheInstallTablesReaders) {
  WriteManifest();
  ASSERT_EQ(Build(out_).exitCode, 0);

  qmtest::MediaTables tables(out_ / "DISK01");

  EXPECT_EQ(tables.destinations.PathOf(0), "C:\\QMW2");
  ASSERT_EQ(tables.groups.Size(), 2u);
  ASSERT_NE(tables.groups.Find("Fonts"), nullptr);
  EXPECT_EQ(tables.groups.Find("Fonts")->title, "Fonts");
  EXPECT_EQ(tables.targets.Size(), 1u);
  EXPECT_EQ(tables.diskettes.Label(1), "Quillmark Program Disk");
  EXPECT_EQ(tables.diskettes.Label(2), "Quillmark 2.0 Disk 2");

  // Each source names the disk it was put on, its kind, installed size and count.
  struct Expected {
    std::string name;
    int kind, size, count, destination;
    std::string group;
    bool late;
  };
  const std::vector<Expected> expected = {
      {"QM.1", 1, 45000 + 30000, 2, 0, "program", false},
      {"FONTS.1", 1, 4000, 1, 0, "Fonts", false},
      {"README.TXT", 0, 2000, 1, 0, "program", true},
  };
  ASSERT_EQ(tables.sources.Size(), expected.size());
  for (const Expected& want : expected) {
    const auto found = std::find_if(tables.sources.Sources().begin(), tables.sources.Sources().end(),
                                    [&](const auto& source) { return source->FileName() == want.name; });
    ASSERT_NE(found, tables.sources.Sources().end()) << want.name;
    const CSourceFile& source = **found;
    EXPECT_EQ(source.Kind(), want.kind) << want.name;
    EXPECT_EQ(source.Size(), want.size) << want.name;
    EXPECT_EQ(source.FileCount(), want.count) << want.name;
    EXPECT_EQ(source.DestinationId(), want.destination) << want.name;
    EXPECT_EQ(source.Group()->name, want.group) << want.name;
    EXPECT_EQ(source.IsLate(), want.late) << want.name;
    const std::string disk = "DISK0" + std::to_string(source.DiskNumber());
    EXPECT_TRUE(fs::exists(out_ / disk / want.name)) << want.name << " not on " << disk;
  }
}

TEST_F(QmtoolMedia, ArchiveVolumesReadBackIntoTheOriginalFiles) {
  WriteManifest();
  ASSERT_EQ(Build(out_).exitCode, 0);
  // The diskettes' volumes side by side, as the reader follows them in one directory.
  const fs::path together = machine_.Root() / "together";
  fs::create_directories(together);
  for (const std::string& disk : EntriesOf(out_)) {
    for (const auto& item : fs::directory_iterator(out_ / disk)) {
      fs::copy_file(item.path(), together / item.path().filename(), fs::copy_options::overwrite_existing);
    }
  }
  struct Member {
    std::string archive;
    const TreeFile* file;
    int destination;
    int volumes;
  };
  const std::vector<Member> members = {
      {"QM.1", &tree_[3], 0, 2},
      {"QM.1", &tree_[4], 0, 2},
      {"FONTS.1", &tree_[5], 1, 1},
  };
  for (const char* archive : {"QM.1", "FONTS.1"}) {
    CVolumeArchiveReader reader;
    reader.OpenArchive(platform::MapToWindows(together / archive));
    auto entry = reader.CreateEntry();
    for (const Member& member : members) {
      if (member.archive != archive) continue;
      ASSERT_TRUE(reader.NextEntry(*entry, false)) << member.file->path;
      EXPECT_EQ(entry->Header().Name(), fs::path(member.file->path).filename().string());
      EXPECT_EQ(entry->Header().DestinationId(), member.destination);
      EXPECT_EQ(entry->Header().FileTime(), member.file->time);
      StringSink sink;
      reader.ExtractTo(*entry, sink);
      EXPECT_TRUE(sink.bytes == member.file->bytes) << member.file->path;
      EXPECT_EQ(reader.VolumeIndex() + 1, member.volumes) << member.file->path;
    }
    EXPECT_FALSE(reader.NextEntry(*entry, false)) << archive;
  }
}

TEST_F(QmtoolMedia, RebuildsAreByteIdentical) {
  WriteManifest();
  ASSERT_EQ(Build(out_).exitCode, 0);
  const fs::path again = machine_.Root() / "again";
  ASSERT_EQ(Build(again).exitCode, 0);
  const auto first = Contents(out_);
  EXPECT_GE(first.size(), 10u);
  EXPECT_TRUE(first == Contents(again));
  for (const auto& [path, bytes] : first) {
    EXPECT_EQ(fs::last_write_time(out_ / path), fs::last_write_time(again / path)) << path;
  }
}

TEST_F(QmtoolMedia, ManifestErrorsNameTheirLines) {
  struct Case {
    int line;
    std::string text;
    std::string message;
  };
  const std::vector<Case> cases = {
      {3, "title Quillmark", "expected 'key = value'"},
      {5, "disk size = big", "the disk size must be a whole number"},
      {6, "setup = setup/MISSING.EXE", "setup/MISSING.EXE is not a file of the product tree"},
      {8, "colour = blue", "unknown key 'colour'"},
      {10, "25 = Disk 25", "a diskette number"},
      {12, "program = Program|The program|1|1", "needs 5 fields"},
      {13, "Fonts = Fonts|Label fonts|0|2|1", "a group's flag"},
      {13, "Targets = Targets|Clashes with a table|0|1|1", "cannot name a group"},
      {13, "PROGRAM = Again|Same name in capitals|0|1|1", "group PROGRAM is given twice"},
      {16, "1 = FONTS|zero|", "a parent id"},
      {18, "QM.EXE = 0|-1|0|Quillmark||QM.EXE", "needs 7 fields"},
      {19, "[archive QM.]", "an archive's name"},
      {20, "method = zip", "method is lh5 or stored"},
      {21, "group = nobody", "group 'nobody' is not in [groups]"},
      {22, "file = bin/QM.EXE|7", "destination 7 is not in [destinations]"},
      {23, "file = ../outside|0", "not a path inside the product tree"},
      {27, "file = fonts/LABEL.FON|-1", "destination -1 is not in [destinations]"},
      {28, "[extras]", "unknown section [extras]"},
      {29, "file = README.TXT|program", "a plain file is PATH|GROUP|DESTINATION"},
  };
  for (const Case& c : cases) {
    WriteManifest({{c.line, c.text}});
    const auto result = Build(out_);
    EXPECT_EQ(result.exitCode, 2) << c.text;
    const std::string prefix = manifest_.string() + ":" + std::to_string(c.line) + ": ";
    EXPECT_EQ(result.err.rfind(prefix, 0), 0u) << c.text << "\n" << result.err;
    EXPECT_NE(result.err.find(c.message), std::string::npos) << c.text << "\n" << result.err;
    EXPECT_FALSE(fs::exists(out_)) << c.text;
  }
}

// The removal files: UNSETUP.EXE is the built removal program, REMOVE.PIF a
// script that, run as the removal's last step, clears its own directory of the
// setup program's copy, the profile and itself, and of nothing else.
TEST_F(QmtoolMedia, RemovalFilesAreTheBuiltProgramAndTheFinishingScript) {
  WriteFileText(treeDir_ / "main" / "UNSETUP.EXE", "placeholder");
  WriteFileText(treeDir_ / "main" / "remove.pif", "placeholder");
  const fs::path program = machine_.Root() / "built unsetup";
  WriteFileText(program, RandomBytes(5000, 7));
  WriteManifest({{27, "file = fonts/LABEL.FON|1\nfile = main/remove.pif|0"},
                 {29, "file = README.TXT|program|0|late\nfile = main/UNSETUP.EXE|program|0"}});
  const auto build = [&](const std::vector<std::string>& options, const fs::path& out) {
    std::vector<std::string> args{"media", "build"};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), {manifest_.string(), out.string()});
    return RunTool("qmtool", args, {"QMSETUP_SYSTEM=" + machine_.Root().string()});
  };
  const auto missing = build({"--unsetup", (machine_.Root() / "nothing").string()}, out_);
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("main/UNSETUP.EXE (line 31) needs the built removal program"), std::string::npos)
      << missing.err;
  EXPECT_FALSE(fs::exists(out_));

  const auto built = build({"--unsetup", program.string()}, out_);
  ASSERT_EQ(built.exitCode, 0) << built.err;
  std::string script;
  for (const auto& [path, bytes] : Contents(out_)) {
    if (fs::path(path).filename() == "UNSETUP.EXE") {
      EXPECT_TRUE(bytes == ReadFileText(program)) << path;
    }
    if (fs::path(path).filename() != "FONTS.1") continue;
    CVolumeArchiveReader reader;
    reader.OpenArchive(platform::MapToWindows(out_ / path));
    auto entry = reader.CreateEntry();
    ASSERT_TRUE(reader.NextEntry(*entry, false));
    reader.SkipEntryData(*entry);
    ASSERT_TRUE(reader.NextEntry(*entry, false));
    EXPECT_EQ(entry->Header().Name(), "remove.pif");
    StringSink sink;
    reader.ExtractTo(*entry, sink);
    script = sink.bytes;
  }
  ASSERT_EQ(script.rfind("#!/bin/sh\n", 0), 0u) << script;
  // Equal input, equal media, the replaced files included.
  ASSERT_EQ(build({"--unsetup", program.string()}, machine_.Root() / "again").exitCode, 0);
  EXPECT_TRUE(Contents(out_) == Contents(machine_.Root() / "again"));

  // Run as the removal runs it: by Windows path, that path its only argument.
  const fs::path dir = machine_.DriveC() / "QMU 1 'x'";
  for (const char* name : {"remove.pif", "setup.exe", "CV_SETUP.INI", "SETUP.EXE.BAK", "other file", "qmw.log"}) {
    WriteFileText(dir / name, name == std::string("remove.pif") ? script : "kept?");
  }
  fs::create_directories(dir / "Cv_Setup.ini");
  WriteFileText(machine_.DriveC() / "SETUP.EXE", "beside, not inside");
  const std::string pif = "C:\\QMU 1 'x'\\remove.pif";
  EXPECT_EQ(platform::RunProgramAndWait(pif, {pif}), 0);
  EXPECT_EQ(EntriesOf(dir), (std::vector<std::string>{"Cv_Setup.ini", "SETUP.EXE.BAK", "other file", "qmw.log"}));
  EXPECT_TRUE(fs::exists(machine_.DriveC() / "SETUP.EXE"));
}

TEST_F(QmtoolMedia, FailedBuildLeavesTheOutputDirectoryAsItWas) {
  WriteManifest();
  ASSERT_EQ(Build(out_).exitCode, 0);
  WriteFileText(out_ / "KEEP.ME", "from before");
  const auto before = Contents(out_);
  const auto beside = EntriesOf(machine_.Root());

  // Fails half-way, after volumes were written: QM.1 needs more volumes
  // than its name can count.
  WriteManifest({{5, "disk size = 16384"}});
  WriteFileText(treeDir_ / "bin" / "QM.EXE", RandomBytes(12 * 16384, 4));
  const auto failed = Build(out_);
  EXPECT_EQ(failed.exitCode, 2) << failed.err;
  EXPECT_EQ(failed.err.rfind(manifest_.string() + ":19: ", 0), 0u) << failed.err;
  EXPECT_TRUE(Contents(out_) == before);
  EXPECT_EQ(EntriesOf(machine_.Root()), beside);

  // A good build replaces the whole directory, leaving nothing of the old one.
  WriteManifest();
  WriteFileText(treeDir_ / "bin" / "QM.EXE", tree_[3].bytes);
  ASSERT_EQ(Build(out_).exitCode, 0);
  EXPECT_FALSE(fs::exists(out_ / "KEEP.ME"));
  EXPECT_EQ(EntriesOf(machine_.Root()), beside);
}

}  // namespace
