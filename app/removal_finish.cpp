#include "app/removal_finish.h"

#include <cstdio>

#include "install/tables/destination_table.h"
#include "platform/fs/file_ops.h"
#include "platform/process/process.h"
#include "support/path.h"

namespace {

constexpr const char* kFinishProgram = "remove.pif";
constexpr const char* kRemovalProgram = "unsetup.exe";

}  // namespace

ProcessHandOver ReplaceThisProcess() {
  return [](const std::string& program, const std::vector<std::string>& arguments) {
    platform::ReplaceProcess(program, arguments);
  };
}

void FinishRemoval(const std::string& programDirectory, const std::string& sourceDirectory,
                   const ProcessHandOver& handOver) {
  const std::string finish = JoinDirectory(programDirectory, kFinishProgram);
  // /D names a directory whether or not it ends in a backslash, as it does
  // for reading the setup's files; read as a file name, "C:\QMW2" would send
  // the deletion to the drive's root.
  std::string named = sourceDirectory;
  if (!named.empty() && named.back() != '\\' && named.back() != '/' && named.back() != ':') named += '\\';
  const std::string directory = CPath(named).GetDriveAndDirectory();
  platform::DeleteFile(JoinDirectory(directory, kRemovalProgram));
  platform::RemoveDirectory(directory);
  // What this process has written must not be lost with it.
  std::fflush(nullptr);
  if (handOver) handOver(finish, {finish});
}
