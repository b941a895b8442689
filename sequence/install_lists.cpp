#include "sequence/install_lists.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "app/setup_app.h"
#include "install/tables/destination_table.h"
#include "install/tables/group_table.h"
#include "install/tables/source_file.h"
#include "install/tables/source_file_list.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "support/path.h"

namespace {

void InstallGroup(CGroupTable& groups, const char* name) {
  if (CGroup* group = groups.Find(name)) group->install = 1;
}

void AddSetupProgramRecord(SetupApp& app) {
  auto group = std::make_unique<CGroup>();
  group->name = group_name::kInstallPrograms;
  group->install = 1;
  CGroup& added = app.Groups().Add(std::move(group));

  const std::string programPath = platform::GetModuleFileName();
  platform::FileStatus status;
  const bool known = platform::GetFileStatus(programPath, status);

  auto source = std::make_unique<CSourceFile>();
  source->SetFileName(CPath(programPath).GetNameExt());
  source->SetKind(CSourceFile::kPlainFile);
  source->SetSize(known ? static_cast<std::int32_t>(std::min<std::uint64_t>(status.size, INT32_MAX)) : 0);
  source->SetFileCount(1);
  source->SetDisk(0);
  source->SetDestinationId(CDestinationTable::kInstallDirectory);
  source->SetGroup(&added);
  // Disk 0 puts it first in the list, so it is copied while the first
  // diskette, which holds the program, is still the source.
  app.Sources().Insert(std::move(source));
}

}  // namespace

void PrepareInstallLists(SetupApp& app) {
  CGroupTable& groups = app.Groups();
  if (groups.IsInstalled(group_name::kProgram)) {
    if (app.IsNT()) InstallGroup(groups, group_name::kNtDlls);
    InstallGroup(groups, TemplateGroupName(app.International()));
  }
  AddSetupProgramRecord(app);
}
