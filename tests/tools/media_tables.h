#pragma once
// The install tables of built media as the setup loads them from disk 1, with
// the fixed directories of the current machine.

#include <filesystem>

#include "install/tables/destination_table.h"
#include "install/tables/diskette_table.h"
#include "install/tables/group_table.h"
#include "install/tables/install_tables.h"
#include "install/tables/source_file_list.h"
#include "platform/fs/path_map.h"
#include "system/target_table.h"

namespace qmtest {

struct MediaTables {
  explicit MediaTables(const std::filesystem::path& disk1) {
    destinations.SetPresets(MachinePresetDirectories(platform::MapToWindows(disk1) + "\\"));
    LoadInstallTables(platform::MapToWindows(disk1 / "SETUP.ini"), {destinations, groups, targets, sources, diskettes});
  }

  CDestinationTable destinations;
  CGroupTable groups;
  CTargetTable targets;
  CSourceFileList sources;
  CDisketteTable diskettes;
};

}  // namespace qmtest
