#pragma once
// Shared by the install tables tests: a temporary emulated machine with an
// install tables file and a media directory on its drive C.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"

namespace tables_test {

inline constexpr const char* kTablesFile = "C:\\MEDIA\\SETUP.INI";
inline constexpr const char* kMediaDirectory = "C:\\MEDIA\\";
inline constexpr const char* kLogFile = "C:\\WINDOWS\\Qmw.log";

class TablesTest : public ::testing::Test {
 protected:
  TablesTest() { std::filesystem::create_directories(machine_.DriveC() / "MEDIA"); }

  // Replaces the install tables file's text.
  void WriteTables(const std::string& text) const { WriteMedia("SETUP.INI", text); }
  void WriteMedia(const std::string& name, const std::string& bytes) const {
    qmtest::WriteFileText(machine_.DriveC() / "MEDIA" / name, bytes);
  }

  qmtest::TempMachineRoot machine_;
};

}  // namespace tables_test
