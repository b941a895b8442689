#pragma once
// Starting "progman.exe" on the emulated machine: the Program Manager server
// runs as `qmtool progman serve`, a process of its own that outlives the
// program that started it.

#include <filesystem>

namespace platform::dde {

// QMSETUP_QMTOOL when set, else qmtool beside the running program.
std::filesystem::path QmtoolPath();

// Starts the server for the current machine, detached, unless one already
// answers, and waits up to kTransactionTimeout until it does. True when a
// server answers.
bool StartProgramManager();

}  // namespace platform::dde
