// Stands in for the setup program in unsetup's tests. It writes to the file
// QMFAKE_RECORD names its argument vector, a line each, then "beside:" and the
// files of its own directory; tells the /T thread that it is done unless
// QMFAKE_SILENT is set; and ends with the status QMFAKE_STATUS gives.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/machine/thread_message.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const char* record = std::getenv("QMFAKE_RECORD");
  if (record == nullptr) return 99;
  std::ofstream out(record, std::ios::trunc);
  int thread = 0;
  for (int i = 0; i < argc; ++i) {
    out << argv[i] << "\n";
    if (std::string(argv[i]).rfind("/T:", 0) == 0) thread = std::atoi(argv[i] + 3);
  }
  std::vector<std::string> beside;
  for (const auto& entry : fs::directory_iterator(fs::path(argv[0]).parent_path())) {
    beside.push_back(entry.path().filename().string());
  }
  std::sort(beside.begin(), beside.end());
  out << "beside:";
  for (const std::string& name : beside) out << " " << name;
  out << "\n";
  out.close();
  if (std::getenv("QMFAKE_SILENT") == nullptr && thread != 0) platform::PostThreadMessage(thread, {1338, 0, 0});
  const char* status = std::getenv("QMFAKE_STATUS");
  return status ? std::atoi(status) : 0;
}
