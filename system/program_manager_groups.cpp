#include "system/program_manager_groups.h"

std::vector<std::string> ProgramManagerGroups() {
  // The conversation with Program Manager fills this once its client is
  // built: request "Progman" and split the reply. Until then there is no list
  // and the folder name is typed.
  return {};
}

std::vector<std::string> SplitProgramManagerGroups(const std::string& reply) {
  std::vector<std::string> groups;
  std::string::size_type start = 0;
  while (start <= reply.size()) {
    std::string::size_type end = reply.find("\r\n", start);
    if (end == std::string::npos) end = reply.size();
    if (end > start) groups.push_back(reply.substr(start, end - start));
    start = end + 2;
  }
  return groups;
}
