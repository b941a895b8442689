#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "platform/shelllink/shell_link.h"
#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"

namespace {

namespace fs = std::filesystem;
using platform::ShellLink;

ShellLink ProgramItem() {
  ShellLink link;
  link.name = "Quillmark 2.0";
  link.target = "C:\\QMW2\\QMW.EXE";
  link.workingDirectory = "C:\\QMW2\\";
  link.iconLocation = "C:\\QMW2\\QMW.ICO";
  link.iconIndex = 2;
  return link;
}

struct FieldCase {
  const char* what;
  void (*change)(ShellLink&);
};

const FieldCase kFieldCases[] = {
    {"plain", [](ShellLink&) {}},
    {"hot key Ctrl+Alt+Q", [](ShellLink& l) { l.hotKey = platform::kHotKeyControl | platform::kHotKeyAlt | 'Q'; }},
    {"minimized", [](ShellLink& l) { l.showCommand = platform::kShowMinNoActive; }},
    {"maximized", [](ShellLink& l) { l.showCommand = platform::kShowMaximized; }},
    {"arguments /U", [](ShellLink& l) { l.arguments = "/U"; }},
    {"no icon", [](ShellLink& l) { l.iconLocation.clear(); l.iconIndex = 0; }},
    {"negative icon index", [](ShellLink& l) { l.iconIndex = -101; }},
    {"no target", [](ShellLink& l) { l.target.clear(); l.workingDirectory.clear(); }},
    {"ANSI letters", [](ShellLink& l) { l.name = "Caf\xE9 \x80 \x81"; l.target = "C:\\CAF\xC9\\A.EXE"; }},
    {"CD-ROM target", [](ShellLink& l) { l.driveType = 5; }},
};

class ShellLinkFile : public ::testing::Test {
 protected:
  fs::path Path(const std::string& name = "item.lnk") const { return dir_.Path() / name; }
  qmtest::TempDir dir_{"qm-shelllink"};
};

TEST_F(ShellLinkFile, EveryFieldSurvivesWriteAndRead) {
  for (const FieldCase& c : kFieldCases) {
    SCOPED_TRACE(c.what);
    ShellLink link = ProgramItem();
    c.change(link);
    platform::WriteShellLink(link, Path());
    EXPECT_EQ(platform::ReadShellLink(Path()), link);
  }
}

TEST(ShellLinkFormat, ShowCommandsOutsideTheFormatAreStoredAsItsOwn) {
  const struct {
    uint32_t given;
    uint32_t stored;
  } cases[] = {{1, 1}, {2, 7}, {3, 3}, {6, 7}, {7, 7}, {0, 1}, {5, 1}, {0xFFFFFFFF, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.given);
    ShellLink link = ProgramItem();
    link.showCommand = c.given;
    EXPECT_EQ(platform::DecodeShellLink(platform::EncodeShellLink(link)).showCommand, c.stored);
  }
}

// Little-endian fields for links staged by hand.
std::string U16(uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string U32(uint32_t v) { return U16(static_cast<uint16_t>(v)) + U16(static_cast<uint16_t>(v >> 16)); }

// A link as other shells write it: an ID list first, ANSI string data, and
// LinkInfo with a base path and a suffix, optionally also in UTF-16.
std::string ForeignLink(bool unicodeBasePath) {
  std::string header = platform::EncodeShellLink(ShellLink{}).substr(0, 0x4C);
  header.replace(0x14, 4, U32(0x01 | 0x02 | 0x04));  // ID list, LinkInfo, name; not Unicode
  const std::string idList = U16(6) + std::string("\x04\x00\x1F\x50\x00\x00", 6);
  const uint32_t headerSize = unicodeBasePath ? 0x24 : 0x1C;
  const std::string volume = U32(0x11) + U32(5) + U32(0x1234) + U32(0x10) + std::string(1, '\0');
  const std::string basePath("C:\\DIR\0", 7);
  const std::string suffix("B.EXE\0", 6);
  // "C:\D", U+00C9, U+4E2D and U+1F600, a surrogate pair: the last two are not ANSI.
  const std::string unicodePath("C\0:\0\\\0D\0\xC9\0\x2D\x4E\x3D\xD8\x00\xDE\0\0", 18);
  const uint32_t volumeAt = headerSize;
  const uint32_t baseAt = volumeAt + static_cast<uint32_t>(volume.size());
  const uint32_t suffixAt = baseAt + static_cast<uint32_t>(basePath.size());
  const uint32_t unicodeAt = suffixAt + static_cast<uint32_t>(suffix.size());
  std::string info = U32(headerSize) + U32(1) + U32(volumeAt) + U32(baseAt) + U32(0) + U32(suffixAt);
  if (unicodeBasePath) info += U32(unicodeAt) + U32(0);
  info += volume + basePath + suffix + (unicodeBasePath ? unicodePath : "");
  info = U32(static_cast<uint32_t>(info.size() + 4)) + info;
  const std::string extra = U32(12) + U32(0xA0000099) + U32(0) + U32(0);  // one block, then the terminal one
  return header + idList + info + U16(4) + "Item" + extra;
}

TEST(ShellLinkFormat, LinksOfOtherShellsAreRead) {
  const ShellLink ansi = platform::DecodeShellLink(ForeignLink(false));
  EXPECT_EQ(ansi.name, "Item");
  EXPECT_EQ(ansi.target, "C:\\DIR\\B.EXE");
  EXPECT_EQ(ansi.driveType, 5u);
  EXPECT_EQ(platform::DecodeShellLink(ForeignLink(true)).target, "C:\\D\xC9??\\B.EXE");
}

TEST(ShellLinkFormat, EveryCutOfASoundLinkIsRejected) {
  ShellLink link = ProgramItem();
  link.arguments = "/U";
  const std::string bytes = platform::EncodeShellLink(link);
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    SCOPED_TRACE(size);
    EXPECT_THROW(platform::DecodeShellLink(bytes.substr(0, size)), platform::ShellLinkFormatError);
  }
}

TEST(ShellLinkFormat, DamagedFieldsAreRejected) {
  const std::string sound = platform::EncodeShellLink(ProgramItem());
  constexpr std::size_t kLinkInfo = 0x4C;
  const struct {
    const char* what;
    std::size_t offset;
    std::string bytes;
  } cases[] = {
      {"header size", 0, std::string("\x4D", 1)},
      {"class id", 4, std::string("\x02", 1)},
      {"LinkInfo size past the end", kLinkInfo, std::string("\xFF\xFF\x00\x00", 4)},
      {"LinkInfo size below its header", kLinkInfo, std::string("\x08\x00\x00\x00", 4)},
      {"LinkInfo header size past its end", kLinkInfo + 4, std::string("\xFF\x00\x00\x00", 4)},
      {"VolumeID offset outside", kLinkInfo + 12, std::string("\xFF\x00\x00\x00", 4)},
      {"base path offset outside", kLinkInfo + 16, std::string("\xFF\x00\x00\x00", 4)},
      {"suffix offset outside", kLinkInfo + 24, std::string("\xFF\x00\x00\x00", 4)},
      {"VolumeID size outside", kLinkInfo + 28, std::string("\xFF\x00\x00\x00", 4)},
      {"unterminated suffix", kLinkInfo + 0x1C + 0x11 + 16, std::string("X", 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = sound;
    bytes.replace(c.offset, c.bytes.size(), c.bytes);
    EXPECT_THROW(platform::DecodeShellLink(bytes), platform::ShellLinkFormatError);
  }
}

TEST(ShellLinkFormat, RandomDamageEndsReadingWithAFormatErrorOrAValue) {
  const std::string sound = platform::EncodeShellLink(ProgramItem());
  std::mt19937 random(1234);
  for (int round = 0; round < 5000; ++round) {
    std::string bytes = sound;
    const int flips = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < flips; ++i) bytes[random() % bytes.size()] = static_cast<char>(random());
    try {
      platform::DecodeShellLink(bytes);
    } catch (const platform::ShellLinkFormatError&) {
    }
  }
}

TEST_F(ShellLinkFile, WritingReplacesTheFileWholeAndLeavesNoTemporaryFile) {
  ShellLink first = ProgramItem();
  first.arguments = std::string(300, 'x');
  platform::WriteShellLink(first, Path());
  const ShellLink second = ProgramItem();
  platform::WriteShellLink(second, Path());
  EXPECT_EQ(platform::ReadShellLink(Path()), second);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()), 1);
}

TEST_F(ShellLinkFile, HostFailuresAreFileErrors) {
  const auto causeOf = [](auto action) {
    try {
      action();
    } catch (const platform::FileException& e) {
      return e.Cause();
    }
    return platform::FileCause::None;
  };
  EXPECT_EQ(causeOf([&] { platform::WriteShellLink(ProgramItem(), Path("missing/item.lnk")); }),
            platform::FileCause::FileNotFound);
  EXPECT_EQ(causeOf([&] { platform::ReadShellLink(Path("absent.lnk")); }), platform::FileCause::FileNotFound);
  EXPECT_EQ(causeOf([&] { platform::ReadShellLink(dir_.Path()); }), platform::FileCause::AccessDenied);
  qmtest::WriteFileText(Path("text.lnk"), "not a link");
  EXPECT_THROW(platform::ReadShellLink(Path("text.lnk")), platform::ShellLinkFormatError);
}

TEST(ShellLinkOnMachine, WindowsPathsMapToTheDriveAndTheTargetDriveGivesTheType) {
  platform::MachineConfig config = platform::MachineConfig::Defaults(platform::PlatformKind::Win95);
  config.drives.push_back(platform::ParseDriveSpec('D', "cdrom,cd"));
  qmtest::TempMachineRoot machine(config);
  fs::create_directories(machine.Root() / "cd");
  ShellLink link = ProgramItem();
  link.target = "d:\\SETUP.EXE";
  link.driveType = 0;
  platform::WriteShellLinkOnMachine(link, "C:\\WINDOWS\\Setup.lnk");
  ASSERT_TRUE(fs::exists(machine.DriveC() / "WINDOWS" / "Setup.lnk"));
  const ShellLink read = platform::ReadShellLinkOnMachine("c:\\windows\\setup.LNK");
  EXPECT_EQ(read.driveType, 5u);
  EXPECT_EQ(read.target, link.target);
}

// ---- the independent parser of liblnk-utils

std::string LnkInfo(const fs::path& file) {
  const std::string command = "lnkinfo '" + file.string() + "' 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
  std::string out;
  char buffer[4096];
  for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;) out.append(buffer, n);
  return out;
}

bool HasLnkInfo() { return std::system("command -v lnkinfo >/dev/null 2>&1") == 0; }

// The value lnkinfo prints on the line "\t<label>\t...: <value>", or "(absent)".
std::string LnkInfoField(const std::string& report, const std::string& label) {
  const std::size_t at = report.find("\t" + label + "\t");
  if (at == std::string::npos) return "(absent)";
  const std::size_t value = report.find(": ", at) + 2;
  return report.substr(value, report.find('\n', at) - value);
}

TEST_F(ShellLinkFile, AnIndependentParserReadsTheFields) {
  if (!HasLnkInfo()) GTEST_SKIP() << "lnkinfo (liblnk-utils) is not installed";
  ShellLink link = ProgramItem();
  link.arguments = "/U";
  link.hotKey = platform::kHotKeyControl | platform::kHotKeyAlt | 'Q';
  link.showCommand = platform::kShowMinNoActive;
  platform::WriteShellLink(link, Path());
  const std::string report = LnkInfo(Path());
  SCOPED_TRACE(report);
  EXPECT_EQ(LnkInfoField(report, "Description"), link.name);
  EXPECT_EQ(LnkInfoField(report, "Local path"), link.target);
  EXPECT_EQ(LnkInfoField(report, "Command line arguments"), link.arguments);
  EXPECT_EQ(LnkInfoField(report, "Working directory"), link.workingDirectory);
  EXPECT_EQ(LnkInfoField(report, "Icon location"), link.iconLocation);
  EXPECT_EQ(LnkInfoField(report, "Icon index"), "2");
  EXPECT_EQ(LnkInfoField(report, "Drive type"), "Fixed (3)");
  EXPECT_EQ(report.find("Error"), std::string::npos);
  // Debian's lnkinfo prints the show command and hot key as 0 whatever the file
  // holds, so those are checked at their published header offsets instead.
  const std::string bytes = qmtest::ReadFileText(Path());
  EXPECT_EQ(bytes.substr(0x3C, 6), std::string("\x07\x00\x00\x00\x51\x06", 6));
}

}  // namespace
