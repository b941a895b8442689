#pragma once
// A file-layer test: a temporary machine with the win95 defaults, and small
// helpers to stage host files on its drive C:.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/platform/machine_temp_root.h"

namespace platform::machine_test {

class FsTest : public testing::Test {
 protected:
  explicit FsTest(const std::optional<MachineConfig>& config = std::nullopt) : temp_(config) {}

  // A host file under drive C: with its parent directories.
  std::filesystem::path MakeFile(const std::filesystem::path& relative, const std::string& content = "data") {
    const std::filesystem::path path = C() / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  static std::string ReadHost(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  static mode_t ModeOf(const std::filesystem::path& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
  }

  std::filesystem::path C() const { return temp_.DriveC(); }

  TempMachineRoot temp_;
};

}  // namespace platform::machine_test
