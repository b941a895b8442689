// libFuzzer target of the install tables loader: any bytes as an install
// tables file (or the install log that a removal reads as its tables). The
// product's own exceptions are expected outcomes; a loaded destination table
// must resolve or raise, never loop.

#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_files.h"
#include "install/errors/xexception.h"
#include "install/tables/destination_table.h"
#include "install/tables/diskette_table.h"
#include "install/tables/group_table.h"
#include "install/tables/install_tables.h"
#include "install/tables/source_file_list.h"
#include "platform/core/exceptions.h"
#include "platform/fs/path_map.h"
#include "system/target_table.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_files::MakeRoot("tables-fuzz");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string file = platform::MapToWindows(fuzz_files::WriteInput("SETUP.INI", data, size));
  CDestinationTable destinations;
  CGroupTable groups;
  CTargetTable targets;
  CSourceFileList sources;
  CDisketteTable diskettes;
  try {
    LoadInstallTables(file, {destinations, groups, targets, sources, diskettes});
    destinations.Resolve();
  } catch (const CXException&) {
  } catch (const platform::Exception&) {
  }
  return 0;
}
