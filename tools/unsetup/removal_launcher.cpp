#include "tools/unsetup/removal_launcher.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>
#include <vector>

#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "platform/machine/thread_message.h"
#include "platform/process/process.h"
#include "tools/unsetup/installed_setup.h"
#include "tools/unsetup/private_directory.h"

namespace unsetup {
namespace {

using namespace std::chrono_literals;

constexpr unsigned kSetupDone = 1338;
constexpr const char* kProfileName = "cv_setup.ini";
constexpr const char* kRemovePif = "remove.pif";
constexpr const char* kRemovalProgram = "unsetup.exe";

// Drains what has arrived; true when the done message was among it.
bool DoneMessageArrived(platform::ThreadMessageListener& listener, std::chrono::milliseconds timeout) {
  bool done = false;
  for (auto message = listener.Receive(timeout); message; message = listener.Receive(0ms)) {
    done = done || message->message == kSetupDone;
  }
  return done;
}

// Waits for the done message, then for the run's end (its replacement,
// remove.pif, has run by then). The run's exit status.
int AwaitRemoval(platform::ChildProcess& run, platform::ThreadMessageListener& listener) {
  for (;;) {
    if (DoneMessageArrived(listener, 200ms)) return run.Wait();
    if (const std::optional<int> status = run.WaitFor(0ms)) {
      // It may have posted just before it ended.
      if (DoneMessageArrived(listener, 0ms)) return *status;
      std::fprintf(stderr, "unsetup: the removal ended with status %d before it was done\n", *status);
      return *status;
    }
  }
}

bool HasBlank(const std::string& path) { return path.find(' ') != std::string::npos; }

// The end of a completed removal of an install directory the run could not be
// told: our own file goes, then the directory when nothing else is left.
void FinishInstallDirectory(const std::string& installDir) {
  platform::DeleteFile(installDir + kRemovalProgram);
  platform::RemoveDirectory(installDir.substr(0, installDir.size() - 1));
}

std::vector<std::string> RunArguments(const std::string& program, const RemovalRequest& request, int threadId) {
  std::filesystem::path host;
  platform::MapToHost(program, host);
  // The setup program learns its own path from the first entry.
  std::vector<std::string> arguments{host.string(), "/U", "/T:" + std::to_string(threadId)};
  // The setup splits its command line at blanks: "/D:C:\My Apps\" would name
  // "C:\My", whose "unsetup.exe" it deletes at its end. Without /D it finishes
  // in its own directory instead, and what /D would have done is ours to do.
  if (!HasBlank(request.installDir)) arguments.push_back("/D:" + request.installDir);
  if (request.batch) arguments.push_back("/B");
  return arguments;
}

}  // namespace

int RunRemoval(const RemovalRequest& request) {
  const std::optional<std::string> setupName = FindInstalledSetupProgram(request.installDir);
  if (!setupName) {
    std::fprintf(stderr, "unsetup: %s holds no setup program (neither the install log's nor SETUP.EXE)\n",
                 request.installDir.c_str());
    return kExitCannotStart;
  }
  const int threadId = static_cast<int>(::getpid());
  try {
    platform::ThreadMessageListener listener(threadId);
    PrivateDirectory directory(threadId);
    directory.CopyIn(request.installDir + *setupName, *setupName);
    for (const char* name : {kProfileName, kRemovePif}) {
      if (platform::FileExists(request.installDir + name)) directory.CopyIn(request.installDir + name, name);
    }
    const std::string program = directory.Path() + *setupName;
    std::optional<platform::ChildProcess> run =
        platform::ChildProcess::Start(program, RunArguments(program, request, threadId));
    if (!run) {
      std::fprintf(stderr, "unsetup: cannot start %s\n", (request.installDir + *setupName).c_str());
      return kExitCannotStart;
    }
    const int status = AwaitRemoval(*run, listener);
    if (status == 0 && HasBlank(request.installDir)) FinishInstallDirectory(request.installDir);
    if (!directory.Remove()) std::fprintf(stderr, "unsetup: cannot remove %s\n", directory.Path().c_str());
    return status;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "unsetup: %s\n", error.what());
    return kExitCannotStart;
  }
}

}  // namespace unsetup
