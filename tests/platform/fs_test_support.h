#pragma once
// A file-layer test: a temporary machine with the win95 defaults, and a small
// helper to stage host files on its drive C:.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"

namespace platform::machine_test {

class FsTest : public testing::Test {
 protected:
  explicit FsTest(const std::optional<MachineConfig>& config = std::nullopt) : temp_(config) {}

  // A host file under drive C: with its parent directories.
  std::filesystem::path MakeFile(const std::filesystem::path& relative, const std::string& content = "data") {
    const std::filesystem::path path = C() / relative;
    qmtest::WriteFileText(path, content);
    return path;
  }

  std::filesystem::path C() const { return temp_.DriveC(); }

  qmtest::TempMachineRoot temp_;
};

}  // namespace platform::machine_test
