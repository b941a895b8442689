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
  const std::string directory = CPath(sourceDirectory).GetDriveAndDirectory();
  platform::DeleteFile(JoinDirectory(directory, kRemovalProgram));
  platform::RemoveDirectory(directory);
  // What this process has written must not be lost with it.
  std::fflush(nullptr);
  if (handOver) handOver(finish, {finish});
}
