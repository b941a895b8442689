// The Windows-path entry points, on an emulated machine in a temporary root.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/machine/machine.h"
#include "platform/version/version_info.h"
#include "tests/common/temp_dir.h"
#include "tests/platform/version_test_support.h"

namespace platform {
namespace {

using qmtest::TempDir;

class VersionQuery : public testing::Test {
 protected:
  void SetUp() override {
    UseMachine(root_.Path());
    const Machine& machine = CurrentMachine();
    const auto drive = machine.DriveHostPath(*machine.FindDrive('C'));
    std::filesystem::create_directories(drive / "App");
    const std::filesystem::path fixtures = std::string(QM_TEST_DATA_DIR) + "/pe";
    std::filesystem::copy_file(fixtures / "ver2001_pe32.exe", drive / "App" / "Tool.exe");
    std::filesystem::copy_file(fixtures / "noversion_pe64.dll", drive / "App" / "Plain.dll");
    expected_ = *ReadVersionResource(fixtures / "ver2001_pe32.exe");
  }

  TempDir root_{"qm-version"};
  std::vector<uint8_t> expected_;
};

TEST_F(VersionQuery, ReadsTheBlockThroughTheDriveTableIgnoringCase) {
  EXPECT_EQ(GetFileVersionInfoSize("C:\\APP\\TOOL.EXE"), expected_.size());
  EXPECT_EQ(GetFileVersionInfoSize("c:/app/tool.exe"), expected_.size());

  std::vector<uint8_t> block(expected_.size());
  ASSERT_TRUE(GetFileVersionInfo("C:\\App\\Tool.exe", static_cast<uint32_t>(block.size()), block.data()));
  EXPECT_EQ(block, expected_);
  FixedFileInfo info{};
  ASSERT_TRUE(QueryFixedFileInfo(block.data(), block.size(), info));
  EXPECT_EQ(info.fileVersionMS, 0x00020000u);
  EXPECT_EQ(info.fileVersionLS, 0x00000001u);
}

TEST_F(VersionQuery, CopiesNoMoreThanTheBufferHolds) {
  std::vector<uint8_t> buffer(expected_.size() + 8, 0xAA);
  ASSERT_TRUE(GetFileVersionInfo("C:\\APP\\TOOL.EXE", 40, buffer.data()));
  EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + 40, expected_.begin()));
  EXPECT_EQ(buffer[40], 0xAA);
  // The cut copy claims more than it holds; querying it must not read past it.
  FixedFileInfo info{};
  EXPECT_FALSE(QueryFixedFileInfo(buffer.data(), 40, info));

  // A larger buffer gets the block and nothing more.
  ASSERT_TRUE(GetFileVersionInfo("C:\\APP\\TOOL.EXE", static_cast<uint32_t>(buffer.size()), buffer.data()));
  EXPECT_EQ(buffer[expected_.size()], 0xAA);
}

TEST_F(VersionQuery, FilesWithoutVersionInformationAnswerNone) {
  std::vector<uint8_t> buffer(64, 0xAA);
  for (const char* path : {"C:\\APP\\PLAIN.DLL", "C:\\APP\\MISSING.DLL", "C:\\APP", "C:\\NO\\SUCH\\DIR.DLL",
                           "Q:\\TOOL.EXE", ""}) {
    EXPECT_EQ(GetFileVersionInfoSize(path), 0u) << path;
    EXPECT_FALSE(GetFileVersionInfo(path, static_cast<uint32_t>(buffer.size()), buffer.data())) << path;
  }
  EXPECT_EQ(buffer, std::vector<uint8_t>(64, 0xAA));
  EXPECT_FALSE(GetFileVersionInfo("C:\\APP\\TOOL.EXE", 16, nullptr));
}

}  // namespace
}  // namespace platform
