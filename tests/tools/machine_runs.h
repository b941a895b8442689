#pragma once
// What every run of qmsetup and qmtool on an emulated test machine shares: its
// environment, and stopping the Program Manager that a run on Windows NT 3.51
// starts for the machine and leaves running, as the real one stays.

#include <filesystem>
#include <string>
#include <vector>

#include "tests/tools/run_tool.h"

namespace qmtest {

// The machine's root, the qmtool the setup calls, no wait before a removal
// ends, offscreen Qt, and a private runtime directory, which is made here.
inline std::vector<std::string> MachineRunEnvironment(const std::filesystem::path& machine,
                                                      const std::filesystem::path& runtime) {
  std::filesystem::create_directories(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  return {"QMSETUP_SYSTEM=" + machine.string(),
          "QMSETUP_QMTOOL=" + (std::filesystem::path(QM_BIN_DIR) / "qmtool").string(), "QMSETUP_REMOVAL_WAIT_MS=0",
          "QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + runtime.string()};
}

inline void StopProgramManager(const std::filesystem::path& machine) {
  RunProgram("/usr/bin/pkill", {"-TERM", "-f", "progman serve --root " + machine.string()});
}

}  // namespace qmtest
