#pragma once
// A throwaway emulated machine for one test: a temporary system root made the
// process's machine, removed again with everything in it. The current
// directory and QMSETUP_SYSTEM are restored, so tests can change both.

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "platform/machine/machine.h"
#include "tests/common/temp_dir.h"

namespace qmtest {

class TempMachineRoot {
 public:
  // With no config the machine gets the win95 defaults.
  explicit TempMachineRoot(const std::optional<platform::MachineConfig>& config = std::nullopt) {
    setenv("QMSETUP_SYSTEM", Root().c_str(), 1);
    if (config) platform::Machine::Create(Root(), *config);
    platform::UseMachine(Root());
  }

  TempMachineRoot(const TempMachineRoot&) = delete;
  TempMachineRoot& operator=(const TempMachineRoot&) = delete;

  const std::filesystem::path& Root() const { return dir_.Path(); }
  std::filesystem::path DriveC() const { return Root() / "drive_c"; }

 private:
  // What the test may change, put back before the directory goes; a member of
  // its own so that a constructor that throws puts it back as well.
  class SavedProcessState {
   public:
    SavedProcessState() : cwd_(std::filesystem::current_path()) {
      if (const char* env = std::getenv("QMSETUP_SYSTEM")) system_ = env;
    }
    ~SavedProcessState() {
      std::error_code ignored;
      std::filesystem::current_path(cwd_, ignored);
      if (system_) {
        setenv("QMSETUP_SYSTEM", system_->c_str(), 1);
      } else {
        unsetenv("QMSETUP_SYSTEM");
      }
    }
    SavedProcessState(const SavedProcessState&) = delete;
    SavedProcessState& operator=(const SavedProcessState&) = delete;

   private:
    std::filesystem::path cwd_;
    std::optional<std::string> system_;
  };

  TempDir dir_{"qm-machine"};
  SavedProcessState saved_;  // after dir_: restored first, then the directory removed
};

}  // namespace qmtest
