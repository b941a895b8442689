#pragma once
// A throwaway emulated machine for one test: a temporary system root made the
// process's machine, removed again with everything in it. The current
// directory and QMSETUP_SYSTEM are restored, so tests can change both.

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/machine/machine.h"

namespace platform::machine_test {

class TempMachineRoot {
 public:
  // With no config the machine gets the win95 defaults.
  explicit TempMachineRoot(const std::optional<MachineConfig>& config = std::nullopt) {
    std::string pattern = (std::filesystem::temp_directory_path() / "qm-machine-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    savedCwd_ = std::filesystem::current_path();
    if (const char* env = std::getenv("QMSETUP_SYSTEM")) savedSystem_ = env;
    setenv("QMSETUP_SYSTEM", root_.c_str(), 1);
    if (config) Machine::Create(root_, *config);
    UseMachine(root_);
  }

  ~TempMachineRoot() {
    std::error_code ec;
    std::filesystem::current_path(savedCwd_, ec);
    if (savedSystem_) {
      setenv("QMSETUP_SYSTEM", savedSystem_->c_str(), 1);
    } else {
      unsetenv("QMSETUP_SYSTEM");
    }
    // Tests leave read-only files and directories behind; give the write bits back first.
    for (auto it = std::filesystem::recursive_directory_iterator(root_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (!it->is_symlink()) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
      }
    }
    std::filesystem::remove_all(root_, ec);
  }

  TempMachineRoot(const TempMachineRoot&) = delete;
  TempMachineRoot& operator=(const TempMachineRoot&) = delete;

  const std::filesystem::path& Root() const { return root_; }
  std::filesystem::path DriveC() const { return root_ / "drive_c"; }

 private:
  std::filesystem::path root_;
  std::filesystem::path savedCwd_;
  std::optional<std::string> savedSystem_;
};

}  // namespace platform::machine_test
