#include "system/program_manager_groups.h"

std::vector<std::string> ProgramManagerGroups() {
  // The conversation with Program Manager fills this once its client is
  // built: the reply to the request for the item "Progman", one group per
  // CR LF-ended line, empty lines left out. Until then there is no list and
  // the folder name is typed.
  return {};
}
