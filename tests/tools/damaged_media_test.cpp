// Damaged media: the demo media are built once, then archives of them are
// damaged (every byte changed, or cut at every 1,000th byte) and copied through
// the copy engine into a clean machine. Each damage must be reported naming the
// archive, or be harmless (the installed files are the sample tree's); and no
// final name may ever hold bytes the tree does not have, nor a temporary file
// be left behind. The one exception: a changed byte in an entry's name or
// destination ID, which no checksum of the format covers, may put the right
// bytes under another name or in another directory; those cases are counted
// apart and accepted only for those fields.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "install/archive/archive_reader.h"
#include "install/archive/archive_writer.h"
#include "install/copy/file_copy.h"
#include "install/tables/group_table.h"
#include "platform/fs/path_map.h"
#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"
#include "tests/install/copy/scripted_copy_ui.h"
#include "tests/tools/media_tables.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSample = QM_SAMPLE_DIR;
const fs::path kRemovalProgram = kSample / "tree" / "main" / "UNSETUP.EXE";
constexpr const char* kLog = "C:\\WINDOWS\\QMW.LOG";
// A stored copy of the premade labels, made beside the media's -lh5- one.
constexpr const char* kStoredArchive = "PRESTORE.1";

using Files = std::map<fs::path, std::string>;  // relative to drive C: -> bytes

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

struct Tally {
  int cases = 0;
  int detected = 0;
  int harmless = 0;
  int misplaced = 0;  // the right bytes under a damaged name or destination
  int clean = 0;
  std::vector<std::string> failures;

  void Print(const std::string& what) const {
    std::cout << what << ": " << cases << " cases, " << detected << " detected, " << harmless << " harmless, "
              << misplaced << " under a damaged name or directory, " << clean << " ended clean, " << failures.size() << " failures\n";
  }
};

class DamagedMediaTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Thousands of small installs: on a memory file system where there is one,
    // so that they take seconds rather than a minute on a busy disk.
    {
      const char* saved = std::getenv("TMPDIR");
      const std::string previous = saved != nullptr ? saved : "";
      if (::access("/dev/shm", W_OK | X_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
      machine_ = std::make_unique<qmtest::TempMachineRoot>();
      if (saved != nullptr) {
        setenv("TMPDIR", previous.c_str(), 1);
      } else {
        unsetenv("TMPDIR");
      }
    }
    media_ = machine_->Root() / "media";
    // The tree's stand-in as the removal program: the built one differs in
    // size from build to build (a sanitizer build's is many times larger),
    // and the layout of the diskettes with it.
    const auto built = qmtest::RunTool("qmtool",
                                       {"media", "build", "--unsetup", kRemovalProgram.string(),
                                        (kSample / "manifest.ini").string(), media_.string()},
                                       {"QMSETUP_SYSTEM=" + machine_->Root().string()});
    ASSERT_EQ(built.exitCode, 0) << built.err;
    tables_ = std::make_unique<qmtest::MediaTables>(media_ / "DISK01");
    tables_->destinations.Resolve();

    // The stored archive: the same files as PREMADE.1, to the same place.
    CGroup* premade = tables_->groups.Find("premade");
    ASSERT_NE(premade, nullptr);
    CArchiveWriter writer(platform::MapToWindows(media_ / "DISK01" / kStoredArchive), {kMethodStored, 0});
    for (const char* name : {"BIRTHDAY.QML", "FRAGILE.QML", "MOVING.QML", "XMAS.QML"}) {
      ArchiveMember member(platform::MapToWindows(kSample / "tree" / "premade" / name));
      member.destinationId = 3;
      writer.Add(member);
    }
    writer.Finish();
    tables_->sources.Insert(CSourceFile::FromTableLine(kStoredArchive, "352|1|4|1|0|", premade));

    for (const auto& item : fs::recursive_directory_iterator(machine_->DriveC())) baseline_.insert(item.path());
  }

  void SetUp() override { ASSERT_NE(tables_, nullptr) << "the demo media were not built"; }

  static void TearDownTestSuite() {
    tables_.reset();
    machine_.reset();
  }

  static const CSourceFile& Source(const std::string& name) {
    for (const auto& source : tables_->sources.Sources()) {
      if (source->FileName() == name) return *source;
    }
    throw std::runtime_error("no source " + name);
  }

  // Everything the last copy left on drive C: (the log aside), taken away.
  // The directories of the undamaged install stay, empty, for the next case.
  static Files TakeInstalled() {
    Files files;
    std::vector<fs::path> added;
    const fs::path log = machine_->DriveC() / "WINDOWS" / "QMW.LOG";
    for (const auto& item : fs::recursive_directory_iterator(machine_->DriveC())) {
      if (baseline_.count(item.path()) != 0) continue;
      if (item.is_regular_file() && item.path() != log) {
        files[item.path().lexically_relative(machine_->DriveC())] = ReadBytes(item.path());
      }
      added.push_back(item.path());
    }
    // Deepest first, so that directories are empty when their turn comes.
    for (auto it = added.rbegin(); it != added.rend(); ++it) {
      if (keptDirectories_.count(*it) == 0) fs::remove(*it);
    }
    return files;
  }

  // Copies one source into the clean machine; the reports it gave.
  static std::vector<ErrorReport> Copy(const CSourceFile& source) {
    copy_test::ScriptedCopyUi ui;
    ui.onDiskette = [](const DiskettePrompt&) { return true; };  // OK: a missing file then fails as reported
    CopySettings settings;
    settings.destinations = &tables_->destinations;
    settings.diskettes = &tables_->diskettes;
    settings.sourceDirectory = platform::MapToWindows(media_ / "DISK01") + "\\";
    settings.logFile = kLog;
    CFileCopy copy(std::move(settings), ui);
    copy.CopySource(source);
    if (copy.IsCancelled() && ui.reports.empty()) {
      ErrorReport silent;
      silent.contextLine = "(cancelled without a report)";
      ui.reports.push_back(silent);
    }
    return ui.reports;
  }

  // What an undamaged copy of source installs, checked against the tree.
  static const Files& Reference(const std::string& sourceName) {
    static std::map<std::string, Files> references;
    auto found = references.find(sourceName);
    if (found != references.end()) return found->second;
    TakeInstalled();
    const std::vector<ErrorReport> reports = Copy(Source(sourceName));
    EXPECT_TRUE(reports.empty()) << sourceName << ": " << reports.front().shortText;
    Files files = TakeInstalled();
    for (const auto& [path, bytes] : files) {
      for (fs::path dir = path.parent_path(); !dir.empty(); dir = dir.parent_path()) {
        keptDirectories_.insert(machine_->DriveC() / dir);
      }
    }
    EXPECT_FALSE(files.empty()) << sourceName;
    for (const auto& [path, bytes] : files) {
      // The media builder writes the removal script itself.
      if (path.filename() == "REMOVE.PIF") {
        EXPECT_EQ(bytes.rfind("#!/bin/sh\n", 0), 0u);
        continue;
      }
      EXPECT_EQ(bytes, TreeBytes(path.filename().string())) << path;
    }
    return references.emplace(sourceName, std::move(files)).first->second;
  }

  // The sample tree's file of that name; the removal program is the one built.
  static std::string TreeBytes(const std::string& name) {
    if (name == "UNSETUP.EXE") return ReadBytes(kRemovalProgram);
    for (const auto& item : fs::recursive_directory_iterator(kSample / "tree")) {
      if (item.path().filename() == name) return ReadBytes(item.path());
    }
    return "(not in the tree)";
  }

  // Puts damaged bytes in place of media file (whose own bytes are original),
  // copies its source and judges the outcome; the file is restored afterwards. inNamingField: the damage lies
  // in an entry's name or destination ID, which no checksum covers, so the
  // right bytes may land under another name or in another directory.
  static void Judge(const fs::path& mediaFile, const std::string& original, const std::string& sourceName,
                    const std::string& damaged, const std::string& what, bool inNamingField, Tally& tally) {
    const Files& reference = Reference(sourceName);
    WriteBytes(mediaFile, damaged);
    const std::vector<ErrorReport> reports = Copy(Source(sourceName));
    WriteBytes(mediaFile, original);
    const Files installed = TakeInstalled();

    ++tally.cases;
    bool detected = !reports.empty();
    for (const ErrorReport& report : reports) {
      detected = detected && report.contextLine.find("'" + sourceName + "'") != std::string::npos;
    }
    std::string fault;
    std::string strays;
    bool wrongBytes = false;
    for (const auto& [path, bytes] : installed) {
      const auto expected = reference.find(path);
      if (expected == reference.end()) {
        strays += " " + path.string();
      } else if (expected->second != bytes) {
        fault += " wrong bytes under " + path.string() + ";";
        wrongBytes = true;
      }
    }
    const bool clean = !wrongBytes && strays.empty();
    const bool harmless = reports.empty() && clean && installed.size() == reference.size();
    const bool misplaced = reports.empty() && !clean && !wrongBytes && inNamingField && SameContents(installed, reference);
    if (!strays.empty() && !misplaced) fault += " left" + strays + ";";
    if (!reports.empty() && !detected) fault += " report does not name the archive: " + reports.front().contextLine + ";";
    if (!detected && !harmless && !misplaced) fault += " undetected;";
    tally.detected += detected ? 1 : 0;
    tally.harmless += harmless ? 1 : 0;
    tally.misplaced += misplaced ? 1 : 0;
    tally.clean += clean ? 1 : 0;
    if (!fault.empty() && tally.failures.size() < 40) tally.failures.push_back(what + ":" + fault);
  }

  // The same bytes, whatever the names.
  static bool SameContents(const Files& left, const Files& right) {
    std::multiset<std::string> a, b;
    for (const auto& item : left) a.insert(item.second);
    for (const auto& item : right) b.insert(item.second);
    return a == b;
  }

  static fs::path MediaFile(const std::string& name) {
    for (const auto& disk : fs::directory_iterator(media_)) {
      if (fs::exists(disk.path() / name)) return disk.path() / name;
    }
    return {};
  }

  // Where the entry headers of a one-volume archive lie.
  static std::vector<uint64_t> HeaderPositions(const fs::path& file) {
    std::vector<uint64_t> positions;
    CArchiveReader reader;
    reader.OpenArchive(platform::MapToWindows(file));
    const auto entry = reader.CreateEntry();
    uint64_t next = reader.FirstEntryOffset();
    while (reader.NextEntry(*entry, false)) {
      positions.push_back(next);
      next = entry->Position();
      reader.SkipEntryData(*entry);
    }
    return positions;
  }

  // Every byte of an archive changed four ways: low bit, high bit, all bits, zero.
  static Tally EveryByte(const std::string& archive) {
    const fs::path file = MediaFile(archive);
    const std::string original = ReadBytes(file);
    const std::vector<uint64_t> headers = HeaderPositions(file);
    const auto inNamingField = [&](uint64_t at) {
      return std::any_of(headers.begin(), headers.end(), [&](uint64_t header) {
        return (at >= header + 16 && at < header + 276) || at == header + 300 || at == header + 301;
      });
    };
    Tally tally;
    for (std::size_t at = 0; at < original.size(); ++at) {
      const auto byte = static_cast<unsigned char>(original[at]);
      std::set<unsigned char> values{static_cast<unsigned char>(byte ^ 0x01), static_cast<unsigned char>(byte ^ 0x80),
                                     static_cast<unsigned char>(byte ^ 0xFF), 0};
      values.erase(byte);
      for (const unsigned char value : values) {
        std::string damaged = original;
        damaged[at] = static_cast<char>(value);
        Judge(file, original, archive, damaged, archive + " byte " + std::to_string(at) + "=" + std::to_string(value),
              inNamingField(at), tally);
      }
    }
    return tally;
  }

  static std::unique_ptr<qmtest::TempMachineRoot> machine_;
  static fs::path media_;
  static std::unique_ptr<qmtest::MediaTables> tables_;
  static std::set<fs::path> baseline_;
  static std::set<fs::path> keptDirectories_;
};

std::unique_ptr<qmtest::TempMachineRoot> DamagedMediaTest::machine_;
fs::path DamagedMediaTest::media_;
std::unique_ptr<qmtest::MediaTables> DamagedMediaTest::tables_;
std::set<fs::path> DamagedMediaTest::baseline_;
std::set<fs::path> DamagedMediaTest::keptDirectories_;

std::string Failures(const Tally& tally) {
  std::string text;
  for (const std::string& failure : tally.failures) text += failure + "\n";
  return text;
}

TEST_F(DamagedMediaTest, EveryByteOfACompressedArchiveChanged) {
  const Tally tally = EveryByte("PREMADE.1");
  tally.Print("PREMADE.1, every byte");
  EXPECT_GT(tally.cases, 1000);
  EXPECT_TRUE(tally.failures.empty()) << Failures(tally);
}

TEST_F(DamagedMediaTest, EveryByteOfAStoredArchiveChanged) {
  const Tally tally = EveryByte(kStoredArchive);
  tally.Print(std::string(kStoredArchive) + ", every byte");
  EXPECT_GT(tally.cases, 1000);
  EXPECT_TRUE(tally.failures.empty()) << Failures(tally);
}

// The clip art runs over onto further diskettes: the header with which each
// further volume starts is read in the middle of an entry's data.
TEST_F(DamagedMediaTest, EveryByteOfTheHeadersOfFurtherVolumesChanged) {
  Tally tally;
  int volumes = 0;
  for (char number = '2';; ++number) {
    const std::string volume = std::string("ART2000.") + number;
    const fs::path file = MediaFile(volume);
    if (file.empty()) break;
    ++volumes;
    const std::string original = ReadBytes(file);
    for (std::size_t at = 0; at < 8; ++at) {
      for (const unsigned char mask : {0x01, 0x80, 0xFF}) {
        std::string damaged = original;
        damaged[at] = static_cast<char>(damaged[at] ^ mask);
        Judge(file, original, "ART2000.1", damaged, std::string(volume) + " byte " + std::to_string(at), false, tally);
      }
    }
  }
  tally.Print("ART2000's further volumes, headers");
  ASSERT_GE(volumes, 1);
  EXPECT_EQ(tally.detected, volumes * 4 * 3);  // the magic; the other four bytes mean nothing
  EXPECT_EQ(tally.harmless, volumes * 4 * 3);
  EXPECT_TRUE(tally.failures.empty()) << Failures(tally);
}

// Every volume of every archive of the media cut at every 1,000th byte, the
// volumes of the clip art that runs over onto the next diskette one at a time.
TEST_F(DamagedMediaTest, EveryArchiveCutAtEveryThousandthByte) {
  Tally tally;
  for (const auto& source : tables_->sources.Sources()) {
    if (source->Kind() != CSourceFile::kArchive) continue;
    const std::string& name = source->FileName();
    for (char volume = '1';; ++volume) {
      const fs::path file = MediaFile(name.substr(0, name.size() - 1) + volume);
      if (file.empty()) break;
      const std::string original = ReadBytes(file);
      for (std::size_t at = 0; at < original.size(); at += 1000) {
        Judge(file, original, name, original.substr(0, at), file.filename().string() + " cut at " + std::to_string(at), false,
              tally);
      }
    }
  }
  tally.Print("every archive, cut at every 1,000th byte");
  EXPECT_GT(tally.cases, 400);
  EXPECT_TRUE(tally.failures.empty()) << Failures(tally);
}

}  // namespace
