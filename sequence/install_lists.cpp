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
#include "system/target_table.h"
#include "install/errors/string_table.h"

namespace {

// "Remove Quillmark 2.0"
constexpr unsigned kRemoveProgramString = 20;

void InstallGroup(CGroupTable& groups, const char* name) {
  if (CGroup* group = groups.Find(name)) group->install = 1;
}

}  // namespace

void PrepareInstallLists(SetupApp& app) {
  CGroupTable& groups = app.Groups();
  if (groups.IsInstalled(group_name::kProgram)) {
    if (app.IsNT()) InstallGroup(groups, group_name::kNtDlls);
    InstallGroup(groups, TemplateGroupName(app.International()));
  }
  AddRemovalProgram(app, false);
}

void AddRemovalProgram(SetupApp& app, bool addProgramItem) {
  auto group = std::make_unique<CGroup>();
  group->name = group_name::kInstallPrograms;
  group->install = 1;
  CGroup& added = app.Groups().Add(std::move(group));

  const std::string programPath = platform::GetModuleFileName();
  const std::string programName = CPath(programPath).GetNameExt();
  platform::FileStatus status;
  const bool known = platform::GetFileStatus(programPath, status);

  auto source = std::make_unique<CSourceFile>();
  source->SetFileName(programName);
  source->SetKind(CSourceFile::kPlainFile);
  source->SetSize(known ? static_cast<std::int32_t>(std::min<std::uint64_t>(status.size, INT32_MAX)) : 0);
  source->SetFileCount(1);
  source->SetDisk(0);
  source->SetDestinationId(CDestinationTable::kInstallDirectory);
  source->SetGroup(&added);
  // Disk 0 puts it first in the list, so it is copied while the first
  // diskette, which holds the program, is still the source.
  app.Sources().Insert(std::move(source));

  if (!addProgramItem) return;
  CTarget target;
  target.key = programName;
  target.name = LoadStringText(kRemoveProgramString);
  target.arguments = "/U";
  target.iconIndex = 0;
  target.hotkey = CTarget::kNoHotkey;
  target.minimized = false;
  target.commandPath = CPath(programPath);
  app.Targets().Add(std::move(target));
}
