// The sample product under sample/: its manifest builds diskettes that the
// setup's own readers accept, and its profile reads without a fault.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
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
#include "platform/fs/path_map.h"
#include "support/file_version.h"
#include "system/target_table.h"
#include "tests/common/temp_machine.h"
#include "tests/tools/media_tables.h"
#include "tests/tools/run_tool.h"

namespace {

namespace fs = std::filesystem;
using qmtest::RunTool;

class StringSink : public CodecSink {
 public:
  void Write(const void* buffer, std::size_t count) override { bytes.append(static_cast<const char*>(buffer), count); }
  std::string bytes;
};

const fs::path kSample = QM_SAMPLE_DIR;

// The bytes of an archive's member; empty when it has none of that name.
std::string MemberBytes(const fs::path& archive, const std::string& name) {
  CVolumeArchiveReader reader;
  reader.OpenArchive(platform::MapToWindows(archive));
  auto entry = reader.CreateEntry();
  while (reader.NextEntry(*entry, false)) {
    if (entry->Header().Name() != name) {
      reader.SkipEntryData(*entry);
      continue;
    }
    StringSink sink;
    reader.ExtractTo(*entry, sink);
    return sink.bytes;
  }
  return {};
}

// The volumes of an archive: the disk number of each, in volume order.
std::vector<int> VolumeDisks(const fs::path& media, const std::string& stem) {
  std::vector<int> disks;
  for (int volume = 1;; ++volume) {
    int found = 0;
    for (int disk = 1; disk < 100 && found == 0; ++disk) {
      char name[8];
      std::snprintf(name, sizeof name, "DISK%02d", disk);
      if (fs::exists(media / name / (stem + "." + std::to_string(volume)))) found = disk;
    }
    if (found == 0) return disks;
    disks.push_back(found);
  }
}

// Every disk's files in one directory, where an archive finds its next volume
// beside the one before.
fs::path AllDisksTogether(const fs::path& media, const fs::path& into) {
  fs::create_directories(into);
  for (const auto& disk : fs::directory_iterator(media)) {
    for (const auto& file : fs::directory_iterator(disk.path())) {
      fs::copy_file(file.path(), into / file.path().filename(), fs::copy_options::overwrite_existing);
    }
  }
  return into;
}

// How many diskettes the media take depends on the size of the built removal
// program (a sanitizer build makes it many times larger), so the layout is
// checked by what holds whatever that size.
TEST(SampleProduct, ManifestBuildsDiskettesThatTheSetupLoads) {
  qmtest::TempMachineRoot machine;
  const fs::path out = machine.Root() / "media";
  const auto result = RunTool("qmtool", {"media", "build", (kSample / "manifest.ini").string(), out.string()},
                              {"QMSETUP_SYSTEM=" + machine.Root().string()});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_TRUE(fs::exists(out / "DISK01" / "SETUP.ini"));
  EXPECT_TRUE(fs::exists(out / "DISK02" / "diskette.002"));
  // The clip art that does not compress runs over from one diskette onto the next.
  const std::vector<int> art = VolumeDisks(out, "ART2000");
  ASSERT_GE(art.size(), 2u);
  for (std::size_t i = 1; i < art.size(); ++i) EXPECT_EQ(art[i], art[i - 1] + 1);

  // The removal files: the built removal program, the finishing script, and
  // the profile that the removal reads beside the installed setup program.
  const fs::path main = AllDisksTogether(out, machine.Root() / "together") / "MAIN.1";
  EXPECT_TRUE(MemberBytes(main, "UNSETUP.EXE") == qmtest::ReadFileText(fs::path(QM_BIN_DIR) / "unsetup"));
  EXPECT_EQ(MemberBytes(main, "REMOVE.PIF").rfind("#!/bin/sh\n", 0), 0u);
  EXPECT_EQ(MemberBytes(main, "cv_setup.ini"), qmtest::ReadFileText(kSample / "tree" / "setup" / "cv_setup.ini"));

  qmtest::MediaTables tables(out / "DISK01");

  EXPECT_EQ(tables.destinations.PathOf(0), "C:\\QMW2");
  for (const char* name : {"Main", "program", "premade", "Inttpls", "ustpls", "NTDlls", "Fonts", "art600", "art2000"}) {
    EXPECT_NE(tables.groups.Find(name), nullptr) << name;
  }
  EXPECT_NE(tables.targets.Find("QMW.EXE"), nullptr);
  EXPECT_NE(tables.targets.Find("QMW.HLP"), nullptr);
  EXPECT_EQ(tables.diskettes.Label(2), "Quillmark 2.0 Clip Art Disk");

  // The program files are PE files with the versions their scripts give them.
  struct Versioned {
    std::string path;
    FileVersionNumber version;
  };
  const std::vector<Versioned> versioned = {
      {"tree/program/QMW.EXE", {2, 0, 0, 14}},
      {"tree/program/QMWPRINT.DLL", {2, 0, 1, 2}},
      {"tree/main/UNSETUP.EXE", {2, 0, 0, 3}},
  };
  for (const Versioned& file : versioned) {
    CFileVersion version;
    ASSERT_TRUE(version.LoadVersionInfo(platform::MapToWindows(kSample / file.path))) << file.path;
    EXPECT_EQ(version.GetFileVersion(), file.version) << file.path;
  }
}

TEST(SampleProduct, ProfileChecksClean) {
  qmtest::TempMachineRoot machine;
  const auto result = RunTool("qmtool", {"profile", "check", (kSample / "tree" / "setup" / "cv_setup.ini").string()},
                              {"QMSETUP_SYSTEM=" + machine.Root().string()});
  EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
  EXPECT_NE(result.out.find("Parse errors (0)"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Messages the setup shows while loading (0)"), std::string::npos) << result.out;
  // The demo shows every reader at work: four billboards, the options of the
  // custom page and the registry values written after the copy.
  EXPECT_NE(result.out.find("Billboards (4)"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Options, in order (5)"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("Registry entries, in order (8)"), std::string::npos) << result.out;
}

}  // namespace
