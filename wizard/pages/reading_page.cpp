#include "wizard/pages/reading_page.h"

#include "app/setup_app.h"
#include "system/logged_files.h"
#include "wizard/pages/setup_tables_loading.h"

int ReadingPage::RunPageAction() {
  SetupApp& app = SetupApp::Current();
  // Without its log, or with a log of an install killed before its first
  // file, a removal still runs the profile's removal entries and commands; it
  // finds nothing of the install to take away.
  if (app.UninstallMode() && !LogRecordsInstalledWork(app.InstallTablesFile())) return NextPageId();
  LoadSetupTables(app);
  return NextPageId();
}
