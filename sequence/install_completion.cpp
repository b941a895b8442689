#include "sequence/install_completion.h"

#include "app/main_window.h"
#include "app/profile_messages.h"
#include "app/setup_app.h"
#include "install/tables/destination_table.h"
#include "install/tables/group_table.h"
#include "system/destination_macros.h"
#include "sequence/product_settings.h"
#include "system/command_list.h"
#include "system/program_items.h"
#include "system/registry_entry_list.h"
#include "system/target_table.h"

namespace {

constexpr int kWorkingDirectory = 1;
constexpr int kClipArtDirectory = 2;

void WriteRegistryEntries(SetupApp& app, const MacroTable& macros) {
  CRegistryEntryList& entries = app.RegistryEntries();
  // Selected here, once: the setup type page only remembers the choice, so
  // going back and choosing again selects nothing twice.
  entries.SelectRegistryEntries(app.RegistrySelector());
  ProfileMessageBoxes messages;
  entries.SubstituteRegistryData(macros, messages);
  entries.ApplyRegistryEntries(app.InstallLogFile());
}

void RunInstallCommands(SetupApp& app, const MacroTable& macros) {
  CCommandList& commands = app.Commands();
  commands.EnableCommands(CCommandEntry::kInstallSelector);
  ProfileMessageBoxes messages;
  commands.SubstituteCommands(macros, messages);
  commands.RunCommands(app.MainWnd());
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
  const MacroTable macros = BuildDestinationMacros(app.Destinations(), app.SourceDirectory());
  WriteRegistryEntries(app, macros);
  RunInstallCommands(app, macros);
  // Tables without a working directory have nowhere to put the settings file.
  const std::string working = destinations.PathOf(kWorkingDirectory);
  if (!working.empty()) WriteProductSettings(working, destinations.PathOf(kClipArtDirectory));
  LogProductFiles(app.InstallLogFile());
}
