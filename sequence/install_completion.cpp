#include "sequence/install_completion.h"

#include <vector>

#include "app/main_window.h"
#include "app/profile_messages.h"
#include "app/setup_app.h"
#include "install/tables/destination_table.h"
#include "install/tables/group_table.h"
#include "options/macro_table.h"
#include "sequence/product_settings.h"
#include "system/install_commands.h"
#include "system/program_items.h"
#include "system/registry_entry_list.h"
#include "system/target_table.h"

namespace {

constexpr int kWorkingDirectory = 1;
constexpr int kClipArtDirectory = 2;

MacroTable BuildInstallMacros(SetupApp& app) {
  std::vector<MacroDestination> destinations;
  for (const auto& [id, destination] : app.Destinations().Entries()) destinations.push_back({id, destination.path});
  MacroTable macros;
  BuildMacroTable(macros, destinations, app.SourceDirectory());
  return macros;
}

void WriteRegistryEntries(SetupApp& app, const MacroTable& macros) {
  CRegistryEntryList& entries = app.RegistryEntries();
  // Selected here, once: the setup type page only remembers the choice, so
  // going back and choosing again selects nothing twice.
  entries.SelectRegistryEntries(app.RegistrySelector());
  ProfileMessageBoxes messages;
  entries.SubstituteRegistryData(macros, messages);
  entries.ApplyRegistryEntries(app.InstallLogFile());
}

void RunCommands(SetupApp& app, const MacroTable& macros) {
  RunInstallCommands(app.Commands(), macros);
  if (CMainWnd* main = app.MainWnd()) {
    main->SetFocus();
    main->BringToForeground();
  }
}

}  // namespace

void WriteInstallTables(SetupApp& app) {
  const std::string& log = app.InstallLogFile();
  app.Destinations().SaveDestinations(log);
  app.Groups().SaveGroups(log);
  app.Targets().SaveTargets(log);
}

void CreateInstallProgramItems(SetupApp& app) {
  const std::string installDirectory = app.Destinations().PathOf(CDestinationTable::kInstallDirectory);
  CreateProgramItems(app.Targets(), {app.ProgramFolder(), installDirectory, app.IsNT(), app.IsNT4()});
  if (CMainWnd* main = app.MainWnd()) {
    main->BringToForeground();
    main->Invalidate();
  }
}

void CompleteProduct(SetupApp& app) {
  const CDestinationTable& destinations = app.Destinations();
  if (!app.Groups().IsInstalled(group_name::kProgram)) {
    WriteRemovalRegistration(destinations.PathOf(CDestinationTable::kInstallDirectory), app.InstallLogFile());
    return;
  }
  const MacroTable macros = BuildInstallMacros(app);
  WriteRegistryEntries(app, macros);
  RunCommands(app, macros);
  // Tables without a working directory have nowhere to put the settings file.
  const std::string working = destinations.PathOf(kWorkingDirectory);
  if (!working.empty()) WriteProductSettings(working, destinations.PathOf(kClipArtDirectory));
  LogProductFiles(app.InstallLogFile());
}
