// The emulated machine: system.ini, the drive table, the system root and the
// system queries answered from it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/machine/machine.h"
#include "platform/machine/system_info.h"
#include "tests/common/temp_machine.h"

namespace platform {
namespace {

using qmtest::TempMachineRoot;
namespace fs = std::filesystem;

void WriteText(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The message of the MachineError that loading root's system.ini raises.
std::string LoadError(const fs::path& root) {
  try {
    Machine::Load(root);
  } catch (const MachineError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(PlatformKind, NamesVersionsAndParsing) {
  EXPECT_EQ(PlatformKindName(PlatformKind::Nt351), "nt351");
  EXPECT_EQ(ParsePlatformKind("NT4"), PlatformKind::Nt4);
  EXPECT_EQ(ParsePlatformKind(" win95 "), PlatformKind::Win95);
  EXPECT_EQ(ParsePlatformKind("win98"), std::nullopt);

  const OsVersion win95 = VersionOf(PlatformKind::Win95);
  EXPECT_EQ(win95.platformId, 1u);
  EXPECT_EQ(win95.major, 4u);
  EXPECT_EQ(win95.minor, 0u);
  EXPECT_EQ(win95.build, 950u);
  const OsVersion nt351 = VersionOf(PlatformKind::Nt351);
  EXPECT_EQ(nt351.platformId, 2u);
  EXPECT_EQ(nt351.major, 3u);
  EXPECT_EQ(nt351.minor, 51u);
  EXPECT_EQ(nt351.build, 1057u);
  const OsVersion nt4 = VersionOf(PlatformKind::Nt4);
  EXPECT_EQ(nt4.platformId, 2u);
  EXPECT_EQ(nt4.major, 4u);
  EXPECT_EQ(nt4.build, 1381u);
}

TEST(MachineConfig, DefaultsPerPlatform) {
  const MachineConfig win95 = MachineConfig::Defaults(PlatformKind::Win95);
  EXPECT_EQ(win95.windowsDir, "C:\\WINDOWS");
  EXPECT_EQ(win95.systemDir, "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(win95.tempDir, "C:\\WINDOWS\\TEMP");
  EXPECT_EQ(win95.country, "United States");
  ASSERT_EQ(win95.drives.size(), 2u);
  EXPECT_EQ(FormatDriveSpec(win95.drives[0]), "fixed,drive_c");
  EXPECT_EQ(FormatDriveSpec(win95.drives[1]), "fixed,/");

  for (PlatformKind nt : {PlatformKind::Nt351, PlatformKind::Nt4}) {
    const MachineConfig config = MachineConfig::Defaults(nt);
    EXPECT_EQ(config.windowsDir, "C:\\WINNT");
    EXPECT_EQ(config.systemDir, "C:\\WINNT\\SYSTEM32");
    EXPECT_EQ(config.tempDir, "C:\\TEMP");
  }
}

TEST(DriveSpec, ParsesTypesPathsAndSixtyFourBitSizes) {
  const DriveMapping c = ParseDriveSpec('c', "fixed,drive_c");
  EXPECT_EQ(c.letter, 'C');
  EXPECT_EQ(c.type, DriveType::Fixed);
  EXPECT_EQ(c.hostPath, "drive_c");
  EXPECT_FALSE(c.freeBytes.has_value());
  EXPECT_FALSE(c.totalBytes.has_value());

  const DriveMapping a = ParseDriveSpec('A', " 2 , /mnt/floppy , total=1457664 ");
  EXPECT_EQ(a.type, DriveType::Removable);
  EXPECT_EQ(a.hostPath, "/mnt/floppy");
  EXPECT_EQ(a.totalBytes, 1457664u);
  EXPECT_FALSE(a.freeBytes.has_value());

  const DriveMapping d = ParseDriveSpec('D', "CDROM,/media/cd,free=0,total=18446744073709551615");
  EXPECT_EQ(d.type, DriveType::CdRom);
  EXPECT_EQ(d.freeBytes, 0u);
  EXPECT_EQ(d.totalBytes, 18446744073709551615u);

  EXPECT_EQ(ParseDriveSpec('E', "ramdisk,/r,free=10000000000").freeBytes, 10000000000u);
  EXPECT_EQ(ParseDriveSpec('F', "4,/net").type, DriveType::Remote);
  EXPECT_EQ(ParseDriveType("6"), DriveType::RamDisk);
  EXPECT_EQ(ParseDriveType("removable"), DriveType::Removable);
  EXPECT_EQ(ParseDriveType("7"), std::nullopt);
}

TEST(DriveSpec, FormatRoundTrips) {
  for (const char* text : {"fixed,drive_c", "removable,/mnt/a,total=1457664", "cdrom,/cd,free=0,total=681574400",
                           "remote,/net/share,free=10000000000"}) {
    EXPECT_EQ(FormatDriveSpec(ParseDriveSpec('X', text)), text);
  }
}

TEST(DriveSpec, RejectsBadSpecsWithAMessageNamingTheDrive) {
  for (const char* text :
       {"floppy,/x", "fixed", "fixed,", ",/x", "fixed,/x,free=", "fixed,/x,free=-1", "fixed,/x,free=12k",
        "fixed,/x,free=18446744073709551616", "fixed,/x,size=5", "fixed,/x,free=1,free=2", "fixed,/x,10",
        "0,/x", "unknown,/x", "norootdir,/x"}) {
    try {
      ParseDriveSpec('Q', text);
      ADD_FAILURE() << "accepted " << text;
    } catch (const MachineError& e) {
      EXPECT_NE(std::string(e.what()).find("drive Q:"), std::string::npos) << e.what();
    }
  }
  EXPECT_THROW(ParseDriveSpec('1', "fixed,/x"), MachineError);
  EXPECT_THROW(ParseDriveSpec(':', "fixed,/x"), MachineError);
}

class MachineFiles : public testing::Test {
 protected:
  TempMachineRoot temp_;
  fs::path other_ = temp_.Root() / "other";
};

TEST_F(MachineFiles, CreateLaysOutTheRootAndLoadReadsItBack) {
  MachineConfig config = MachineConfig::Defaults(PlatformKind::Nt4);
  config.country = "Germany";
  config.drives.push_back(ParseDriveSpec('A', "removable,floppy,free=0,total=1457664"));
  config.drives.push_back(ParseDriveSpec('d', "cdrom," + other_.string() + ",free=10000000000"));

  const Machine created = Machine::Create(other_, config);
  EXPECT_TRUE(fs::is_directory(other_ / "run"));
  EXPECT_TRUE(fs::is_directory(other_ / "floppy"));
  EXPECT_TRUE(fs::is_directory(other_ / "drive_c" / "WINNT" / "SYSTEM32"));
  EXPECT_TRUE(fs::is_directory(other_ / "drive_c" / "TEMP"));
  EXPECT_EQ(created.RegistryPath(), other_ / "registry.db");

  const Machine loaded = Machine::Load(other_);
  EXPECT_EQ(loaded.Root(), other_);
  EXPECT_EQ(loaded.Config().platform, PlatformKind::Nt4);
  EXPECT_EQ(loaded.Config().country, "Germany");
  EXPECT_EQ(loaded.Config().windowsDir, "C:\\WINNT");
  EXPECT_EQ(loaded.Config().systemDir, "C:\\WINNT\\SYSTEM32");
  EXPECT_EQ(loaded.Config().tempDir, "C:\\TEMP");
  ASSERT_EQ(loaded.Config().drives.size(), 4u);  // sorted by letter
  const std::string expected[] = {"A=removable,floppy,free=0,total=1457664", "C=fixed,drive_c",
                                  "D=cdrom," + other_.string() + ",free=10000000000", "Z=fixed,/"};
  for (std::size_t i = 0; i < 4; ++i) {
    const DriveMapping& drive = loaded.Config().drives[i];
    EXPECT_EQ(std::string(1, drive.letter) + "=" + FormatDriveSpec(drive), expected[i]);
  }
  EXPECT_EQ(loaded.FindDrive('d')->freeBytes, 10000000000u);
  EXPECT_EQ(loaded.Version().build, 1381u);
}

TEST_F(MachineFiles, DriveHostPathsAndLookups) {
  MachineConfig config = MachineConfig::Defaults(PlatformKind::Win95);
  config.drives.push_back(ParseDriveSpec('E', "fixed," + other_.string() + "/data/"));
  const Machine machine = Machine::Create(other_, config);
  EXPECT_EQ(machine.DriveHostPath(*machine.FindDrive('c')), other_ / "drive_c");
  EXPECT_EQ(machine.DriveHostPath(*machine.FindDrive('E')), other_ / "data");
  EXPECT_EQ(machine.DriveHostPath(*machine.FindDrive('Z')), "/");
  EXPECT_EQ(machine.FindDrive('B'), nullptr);
  EXPECT_EQ(machine.FindDrive('?'), nullptr);
}

TEST_F(MachineFiles, CreateKeepsExistingFilesAndDirectoriesOfAnotherCase) {
  WriteText(other_ / "registry.db", "keep me");
  fs::create_directories(other_ / "drive_c" / "windows" / "system");
  Machine::Create(other_, MachineConfig::Defaults(PlatformKind::Win95));
  EXPECT_EQ(ReadText(other_ / "registry.db"), "keep me");
  EXPECT_FALSE(fs::exists(other_ / "drive_c" / "WINDOWS"));
  EXPECT_TRUE(fs::is_directory(other_ / "drive_c" / "windows" / "TEMP"));
}

TEST_F(MachineFiles, LoadsTheDocumentedSampleWithItsComments) {
  WriteText(other_ / "system.ini",
            "[system]\r\n"
            "platform=nt351          ; win95 | nt351 | nt4  -> version query, is-NT / is-NT-4\r\n"
            "country=United States   ; the locale's English country name\r\n"
            "windows=C:\\WINNT      ; win95: C:\\WINDOWS\r\n"
            "system=c:/winnt/system32/\r\n"
            "temp=C:\\TEMP\r\n"
            "[drives]\r\n"
            "C=fixed,drive_c         ; TYPE,HOSTPATH[,free=BYTES][,total=BYTES]\r\n"
            "Z=fixed,/               ; every host path is reachable as Z:\\...\r\n");
  const Machine machine = Machine::Load(other_);
  EXPECT_EQ(machine.Config().platform, PlatformKind::Nt351);
  EXPECT_EQ(machine.Config().country, "United States");
  EXPECT_EQ(machine.Config().windowsDir, "C:\\WINNT");
  EXPECT_EQ(machine.Config().systemDir, "C:\\winnt\\system32");
  EXPECT_EQ(machine.DriveHostPath(*machine.FindDrive('Z')), "/");
}

TEST_F(MachineFiles, MissingKeysTakeDefaultsAndZIsAlwaysMapped) {
  WriteText(other_ / "system.ini", "[system]\nplatform=nt4\n[drives]\nC=fixed,drive_c\n");
  const Machine machine = Machine::Load(other_);
  EXPECT_EQ(machine.Config().windowsDir, "C:\\WINNT");
  EXPECT_EQ(machine.Config().tempDir, "C:\\TEMP");
  ASSERT_NE(machine.FindDrive('Z'), nullptr);
  EXPECT_EQ(machine.DriveHostPath(*machine.FindDrive('Z')), "/");

  WriteText(other_ / "system.ini", "[system]\nplatform=win95\n");
  EXPECT_EQ(Machine::Load(other_).DriveHostPath(*Machine::Load(other_).FindDrive('C')), other_ / "drive_c");
}

TEST_F(MachineFiles, BadFilesAreRejectedNamingTheLine) {
  const auto withLines = [&](const std::string& system, const std::string& drives) {
    WriteText(other_ / "system.ini", "; machine\n[system]\n" + system + "\n[drives]\nC=fixed,drive_c\n" + drives + "\n");
    return LoadError(other_);
  };
  // Line 6 is the first line after "C=...".
  EXPECT_NE(withLines("platform=win95", "D=floppy,/x").find("line 6"), std::string::npos);
  EXPECT_NE(withLines("platform=win95", "D=floppy,/x").find("floppy"), std::string::npos);
  EXPECT_NE(withLines("platform=win95", "E=fixed,/x,free=lots").find("line 6"), std::string::npos);
  EXPECT_NE(withLines("platform=win95", "DD=fixed,/x").find("line 6"), std::string::npos);
  EXPECT_NE(withLines("platform=os2", "").find("line 3"), std::string::npos);
  EXPECT_NE(withLines("platform=win95\nwindows=WINDOWS", "").find("line 4"), std::string::npos);
  EXPECT_NE(withLines("platform=win95\ntemp=C:\\A\\..\\B", "").find("line 4"), std::string::npos);
  EXPECT_NE(withLines("platform=win95\nsystem=Q:\\SYSTEM", "").find("system directory"), std::string::npos);

  fs::create_directories(temp_.Root() / "empty");
  EXPECT_NE(LoadError(temp_.Root() / "empty").find("system.ini"), std::string::npos);
}

TEST_F(MachineFiles, CreateRefusesConfigurationsThatCouldNotBeReadBack) {
  MachineConfig twice = MachineConfig::Defaults(PlatformKind::Win95);
  twice.drives.push_back(ParseDriveSpec('c', "fixed,/elsewhere"));
  EXPECT_THROW(Machine::Create(other_, twice), MachineError);

  MachineConfig comma = MachineConfig::Defaults(PlatformKind::Win95);
  comma.drives[0].hostPath = "drive,c";
  EXPECT_THROW(Machine::Create(other_, comma), MachineError);

  MachineConfig lineBreak = MachineConfig::Defaults(PlatformKind::Win95);
  lineBreak.country = "United\nStates";
  EXPECT_THROW(Machine::Create(other_, lineBreak), MachineError);

  MachineConfig unknownType = MachineConfig::Defaults(PlatformKind::Win95);
  unknownType.drives[0].type = DriveType::Unknown;
  EXPECT_THROW(Machine::Create(other_, unknownType), MachineError);
  EXPECT_FALSE(fs::exists(other_ / "system.ini"));
}

TEST_F(MachineFiles, SystemQueriesAnswerFromTheCurrentMachine) {
  EXPECT_EQ(GetWindowsDirectory(), "C:\\WINDOWS");
  EXPECT_EQ(GetSystemDirectory(), "C:\\WINDOWS\\SYSTEM");
  EXPECT_EQ(GetTempPath(), "C:\\WINDOWS\\TEMP\\");
  EXPECT_EQ(GetCountryName(), "United States");
  EXPECT_EQ(GetVersionEx().platformId, 1u);
  EXPECT_TRUE(fs::is_directory(temp_.DriveC() / "WINDOWS" / "TEMP"));

  MachineConfig nt = MachineConfig::Defaults(PlatformKind::Nt4);
  nt.country = "Canada";
  Machine::Create(other_, nt);
  UseMachine(other_);
  EXPECT_EQ(CurrentMachine().Root(), other_);
  EXPECT_EQ(GetWindowsDirectory(), "C:\\WINNT");
  EXPECT_EQ(GetTempPath(), "C:\\TEMP\\");
  EXPECT_EQ(GetCountryName(), "Canada");
  EXPECT_EQ(GetVersionEx().major, 4u);
  EXPECT_EQ(GetVersionEx().platformId, 2u);
}

TEST_F(MachineFiles, UseMachineMakesARelativeRootAbsolute) {
  fs::current_path(temp_.Root());
  UseMachine("relative");
  fs::current_path("/");
  EXPECT_EQ(CurrentMachine().Root(), temp_.Root() / "relative");
  EXPECT_EQ(CurrentMachine().DriveHostPath(*CurrentMachine().FindDrive('C')), temp_.Root() / "relative" / "drive_c");
  EXPECT_TRUE(fs::exists(temp_.Root() / "relative" / "system.ini"));
}

class SavedEnvironment {
 public:
  SavedEnvironment() {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
  }
  ~SavedEnvironment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name, value->c_str(), 1);
      } else {
        unsetenv(name);
      }
    }
  }

 private:
  static constexpr const char* kNames[] = {"QMSETUP_SYSTEM", "XDG_DATA_HOME", "HOME"};
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST(DefaultSystemRoot, FollowsTheEnvironment) {
  const SavedEnvironment saved;
  setenv("HOME", "/home/someone", 1);
  setenv("XDG_DATA_HOME", "/data/xdg", 1);
  setenv("QMSETUP_SYSTEM", "/machines/one", 1);
  EXPECT_EQ(DefaultSystemRoot(), "/machines/one");

  setenv("QMSETUP_SYSTEM", "", 1);
  EXPECT_EQ(DefaultSystemRoot(), "/data/xdg/qmsetup/system");

  unsetenv("QMSETUP_SYSTEM");
  setenv("XDG_DATA_HOME", "relative/xdg", 1);  // ignored, as the base directory rules say
  EXPECT_EQ(DefaultSystemRoot(), "/home/someone/.local/share/qmsetup/system");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(DefaultSystemRoot(), "/home/someone/.local/share/qmsetup/system");
}

// Run in a child process that has no machine yet: a fresh HOME gets the
// default machine on the first CurrentMachine(). Exit code 0 when all is well.
int CreateDefaultMachineInFreshHome() {
  std::string home = (fs::temp_directory_path() / "qm-home-XXXXXX").string();
  if (mkdtemp(home.data()) == nullptr) return 2;
  unsetenv("QMSETUP_SYSTEM");
  unsetenv("XDG_DATA_HOME");
  setenv("HOME", home.c_str(), 1);
  const fs::path root = fs::path(home) / ".local" / "share" / "qmsetup" / "system";
  const Machine& machine = CurrentMachine();
  const bool ok = machine.Root() == root && fs::is_directory(root / "drive_c" / "WINDOWS" / "SYSTEM") &&
                  fs::is_directory(root / "run") && fs::exists(root / "system.ini") &&
                  &machine == &CurrentMachine() && GetWindowsDirectory() == "C:\\WINDOWS";
  fs::remove_all(home);
  return ok ? 0 : 1;
}

// CurrentMachine loads once per process, so this runs in a re-executed child.
TEST(CurrentMachineDeathTest, CreatesTheDefaultMachineOnFirstUse) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::exit(CreateDefaultMachineInFreshHome()), testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace platform
