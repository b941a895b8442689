// The process's machine: one per process, chosen by the environment or by
// UseMachine, created with the defaults on first use.

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <mutex>

#include "platform/machine/machine.h"

namespace platform {
namespace {

std::mutex currentMutex;
std::unique_ptr<Machine> current;

std::string NonEmptyEnv(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::filesystem::path HomeDirectory() {
  std::string home = NonEmptyEnv("HOME");
  if (home.empty()) {
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) home = entry->pw_dir;
  }
  if (home.empty()) throw MachineError("no home directory: set QMSETUP_SYSTEM to the system root");
  return home;
}

Machine LoadOrCreate(const std::filesystem::path& root) {
  std::error_code ec;
  if (std::filesystem::exists(root / "system.ini", ec)) return Machine::Load(root);
  return Machine::Create(root, MachineConfig::Defaults(PlatformKind::Win95));
}

}  // namespace

std::filesystem::path DefaultSystemRoot() {
  if (const std::string explicitRoot = NonEmptyEnv("QMSETUP_SYSTEM"); !explicitRoot.empty()) return explicitRoot;
  // The XDG base directory rules ignore a relative XDG_DATA_HOME.
  if (const std::filesystem::path data = NonEmptyEnv("XDG_DATA_HOME"); data.is_absolute()) {
    return data / "qmsetup" / "system";
  }
  return HomeDirectory() / ".local" / "share" / "qmsetup" / "system";
}

const Machine& CurrentMachine() {
  const std::lock_guard<std::mutex> lock(currentMutex);
  if (!current) current = std::make_unique<Machine>(LoadOrCreate(DefaultSystemRoot()));
  return *current;
}

void UseMachine(const std::filesystem::path& root) {
  auto machine = std::make_unique<Machine>(LoadOrCreate(root));
  const std::lock_guard<std::mutex> lock(currentMutex);
  current = std::move(machine);
}

}  // namespace platform
