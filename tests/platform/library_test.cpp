// Library loading on the emulated machine: where a library is looked for, the
// handles it gets, and the procedures it does not export.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "platform/machine/library.h"
#include "tests/common/temp_machine.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr LibraryHandle kFileNotFound = 2;

void Touch(const fs::path& path) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << "MZ";
}

// A machine with the program in C:\MEDIA and a current directory C:\WORK.
class LibraryLoading : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = machine_.DriveC() / "MEDIA" / "SETUP.EXE";
    Touch(program_);
    SetProgramArgv0(program_.c_str());
    fs::create_directories(machine_.DriveC() / "WORK");
    ASSERT_TRUE(SetCurrentDirectory("C:\\WORK"));
  }
  void TearDown() override { SetProgramArgv0(nullptr); }

  // Loads name and frees it again; true when it was found.
  static bool Finds(std::string_view name) {
    const LibraryHandle handle = LoadLibrary(name);
    if (handle <= 32) {
      EXPECT_EQ(handle, kFileNotFound) << name;
      return false;
    }
    EXPECT_TRUE(FreeLibrary(handle));
    return true;
  }

  qmtest::TempMachineRoot machine_;
  fs::path program_;
};

TEST_F(LibraryLoading, SearchesProgramCurrentSystemAndWindowsDirectories) {
  Touch(machine_.DriveC() / "WINDOWS" / "SYSTEM" / "ctl3dv2.dll");
  Touch(machine_.DriveC() / "MEDIA" / "OWN.DLL");
  Touch(machine_.DriveC() / "WORK" / "HERE.DLL");
  Touch(machine_.DriveC() / "WINDOWS" / "WIN.DLL");
  EXPECT_TRUE(Finds("CTL3DV2.DLL"));  // letter case does not matter
  EXPECT_TRUE(Finds("own.dll"));
  EXPECT_TRUE(Finds("HERE.DLL"));
  EXPECT_TRUE(Finds("WIN.DLL"));
  EXPECT_FALSE(Finds("missing.dll"));
  EXPECT_FALSE(Finds(""));
}

TEST_F(LibraryLoading, ProgramDirectoryComesBeforeTheSystemDirectory) {
  Touch(machine_.DriveC() / "WINDOWS" / "SYSTEM" / "TWICE.DLL");
  const LibraryHandle fromSystem = LoadLibrary("TWICE.DLL");
  ASSERT_GT(fromSystem, 32u);
  Touch(machine_.DriveC() / "MEDIA" / "TWICE.DLL");
  const LibraryHandle fromProgram = LoadLibrary("TWICE.DLL");
  ASSERT_GT(fromProgram, 32u);
  EXPECT_NE(fromProgram, fromSystem);
  EXPECT_TRUE(FreeLibrary(fromSystem));
  EXPECT_TRUE(FreeLibrary(fromProgram));
}

TEST_F(LibraryLoading, NamesWithAPathAreNotSearched) {
  Touch(machine_.DriveC() / "LIBS" / "PATHED.DLL");
  Touch(machine_.DriveC() / "WINDOWS" / "SYSTEM" / "ONLYSYS.DLL");
  EXPECT_TRUE(Finds("C:\\LIBS\\PATHED.DLL"));
  EXPECT_TRUE(Finds("..\\LIBS\\pathed.dll"));  // against the current directory C:\WORK
  EXPECT_FALSE(Finds("C:\\LIBS\\ONLYSYS.DLL"));
  EXPECT_FALSE(Finds("Q:\\PATHED.DLL"));  // a drive that is not mapped
  EXPECT_FALSE(Finds("C:\\LIBS"));        // a directory is no library
}

TEST_F(LibraryLoading, NameWithoutExtensionGetsDll) {
  Touch(machine_.DriveC() / "WINDOWS" / "SYSTEM" / "CTL3DV2.DLL");
  Touch(machine_.DriveC() / "WINDOWS" / "SYSTEM" / "BARE");
  EXPECT_TRUE(Finds("ctl3dv2"));
  EXPECT_FALSE(Finds("BARE"));
  EXPECT_TRUE(Finds("BARE."));  // a trailing dot means no extension
}

TEST_F(LibraryLoading, HandlesAreCountedAndFreedOnce) {
  Touch(machine_.DriveC() / "WINDOWS" / "SYSTEM" / "CTL3DV2.DLL");
  const LibraryHandle first = LoadLibrary("CTL3DV2.DLL");
  ASSERT_GT(first, 32u);
  const LibraryHandle again = LoadLibrary("ctl3dv2.dll");
  EXPECT_EQ(again, first);
  EXPECT_EQ(GetProcAddress(first, "Ctl3dRegister"), nullptr);
  EXPECT_EQ(GetProcAddress(first, "Ctl3dAutoSubclass"), nullptr);
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_TRUE(FreeLibrary(first));
  EXPECT_FALSE(FreeLibrary(first));
  EXPECT_FALSE(FreeLibrary(0));
  EXPECT_FALSE(FreeLibrary(kFileNotFound));
  EXPECT_FALSE(FreeLibrary(123456));
}

TEST(ErrorMode, ReturnsThePreviousMode) {
  const unsigned before = SetErrorMode(0x8000);
  EXPECT_EQ(SetErrorMode(before), 0x8000u);
}

}  // namespace
}  // namespace platform
