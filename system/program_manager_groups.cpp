#include "system/program_manager_groups.h"

#include "system/progman_client.h"

std::vector<std::string> ProgramManagerGroups() {
  // Asking starts Program Manager when it is not running, as the items will
  // need it anyway.
  CProgmanClient client;
  std::vector<std::string> groups = client.ListGroups();
  client.Disconnect();
  return groups;
}
