#include "install/tables/install_tables.h"

#include "install/tables/destination_table.h"
#include "install/tables/diskette_table.h"
#include "install/tables/group_table.h"
#include "install/tables/source_file_list.h"
#include "system/target_table.h"

void LoadInstallTables(std::string_view file, InstallTables tables,
                       const std::function<void(InstallTable loaded)>& afterEach) {
  const auto loaded = [&afterEach](InstallTable table) {
    if (afterEach) afterEach(table);
  };
  tables.destinations.Load(file);
  loaded(InstallTable::Destinations);
  tables.groups.Load(file);
  loaded(InstallTable::Groups);
  tables.targets.LoadTargets(file);
  loaded(InstallTable::Targets);
  tables.sources.Load(file, tables.groups);
  loaded(InstallTable::Sources);
  tables.diskettes.Load(file);
  loaded(InstallTable::Diskettes);
}
