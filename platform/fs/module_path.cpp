// The program's own path, as it was started: a symlinked program installed as
// a drive's file must report that drive, not where the link points.

#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <optional>
#include <sstream>

#include "platform/fs/path_map.h"
#include "platform/machine/host_paths.h"

namespace platform {
namespace {

struct StartInfo {
  std::string argv0;
  std::filesystem::path startDirectory;
};

std::mutex startMutex;
std::optional<StartInfo> startInfo;

std::optional<std::filesystem::path> SearchPath(const std::string& name, const std::filesystem::path& startDir) {
  const char* pathVariable = std::getenv("PATH");
  std::istringstream dirs(pathVariable == nullptr ? "" : pathVariable);
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    // An empty PATH entry means the current directory.
    const std::filesystem::path base = dir.empty() ? startDir : startDir / dir;
    const std::filesystem::path candidate = base / name;
    std::error_code ec;
    if (access(candidate.c_str(), X_OK) == 0 && !std::filesystem::is_directory(candidate, ec)) {
      return candidate;
    }
  }
  return std::nullopt;
}

std::filesystem::path RunningExecutable() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path("/") : exe;
}

}  // namespace

void SetProgramArgv0(const char* argv0) {
  StartInfo info;
  info.argv0 = argv0 == nullptr ? "" : argv0;
  std::error_code ec;
  info.startDirectory = std::filesystem::current_path(ec);
  if (ec) info.startDirectory = "/";
  const std::lock_guard<std::mutex> lock(startMutex);
  startInfo = std::move(info);
}

std::string GetModuleFileName() {
  std::optional<StartInfo> info;
  {
    const std::lock_guard<std::mutex> lock(startMutex);
    info = startInfo;
  }
  std::filesystem::path program;
  if (info && !info->argv0.empty()) {
    if (info->argv0.find('/') != std::string::npos) {
      program = info->startDirectory / info->argv0;  // an absolute argv0 replaces the directory
    } else if (auto found = SearchPath(info->argv0, info->startDirectory)) {
      program = *found;
    }
  }
  if (program.empty()) program = RunningExecutable();
  return MapToWindows(LexicalHostPath(program));
}

}  // namespace platform
