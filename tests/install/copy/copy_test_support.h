#pragma once
// Shared by the copy tests: a throwaway machine with a Windows directory, an
// install directory C:\APP and a media directory, files put there with chosen
// times, archives made from them, and the install log read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "install/archive/archive_writer.h"
#include "install/tables/destination_table.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "platform/profile/private_profile.h"
#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"

namespace copy_test {

namespace fs = std::filesystem;

inline constexpr const char* kLog = "C:\\WINDOWS\\QMW.LOG";
inline constexpr uint32_t kOld = 800000000;
inline constexpr uint32_t kNew = 900000000;

class CopyTest : public ::testing::Test {
 protected:
  CopyTest() {
    for (const char* dir : {"C:\\WINDOWS\\SYSTEM", "C:\\STAGE", "C:\\MEDIA"}) fs::create_directories(Host(dir));
    destinations_.SetPresets(MachinePresetDirectories("C:\\MEDIA"));
    destinations_.Set(0, Destination{"", Destination::kNoParent, "C:\\APP"});
    destinations_.Set(1, Destination{"SUB", 0, ""});
    destinations_.Resolve();
  }

  static fs::path Host(const std::string& win) {
    fs::path host;
    EXPECT_TRUE(platform::MapToHost(win, host)) << win;
    return host;
  }
  static void Put(const std::string& win, const std::string& text, std::optional<uint32_t> time = std::nullopt) {
    fs::create_directories(Host(win).parent_path());
    qmtest::WriteFileText(Host(win), text);
    if (time) {
      EXPECT_TRUE(platform::SetLastWriteTime(win, *time));
    }
  }
  // A version fixture (ver1234_pe32.dll and the like) under another name.
  static void PutFixture(const std::string& win, const std::string& fixture, uint32_t time = kOld) {
    fs::create_directories(Host(win).parent_path());
    fs::copy_file(fs::path(QM_TEST_DATA_DIR) / "pe" / fixture, Host(win), fs::copy_options::overwrite_existing);
    EXPECT_TRUE(platform::SetLastWriteTime(win, time));
  }
  static std::string Get(const std::string& win) { return qmtest::ReadFileText(Host(win)); }
  static bool Exists(const std::string& win) { return platform::FileExists(win); }
  // The names in a directory, upper case as the emulation shows them.
  static std::set<std::string> Names(const std::string& win) {
    std::set<std::string> names;
    if (!fs::exists(Host(win))) return names;
    for (const auto& item : fs::directory_iterator(Host(win))) names.insert(item.path().filename().string());
    return names;
  }
  static std::string LogLine(const std::string& group, const std::string& key) {
    char buffer[256] = {};
    platform::GetPrivateProfileString(group.c_str(), key.c_str(), "", buffer, sizeof buffer, kLog);
    return buffer;
  }

  struct Member {
    std::string stagedName;  // file in C:\STAGE, already put there
    int16_t destination = 0;
  };
  // An archive of staged files, stored, split into volumes when volumeSize is set.
  static std::vector<std::string> MakeArchive(const std::string& firstVolume, const std::vector<Member>& members,
                                              uint64_t volumeSize = 0) {
    CArchiveWriter writer(firstVolume, {kMethodStored, volumeSize});
    for (const Member& member : members) {
      ArchiveMember item("C:\\STAGE\\" + member.stagedName);
      item.destinationId = member.destination;
      writer.Add(item);
    }
    writer.Finish();
    return writer.VolumePaths();
  }

  qmtest::TempMachineRoot machine_;
  CDestinationTable destinations_;
};

}  // namespace copy_test
