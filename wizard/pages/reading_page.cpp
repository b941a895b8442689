#include "wizard/pages/reading_page.h"

#include "app/setup_app.h"
#include "wizard/pages/setup_tables_loading.h"

int ReadingPage::RunPageAction() {
  LoadSetupTables(SetupApp::Current());
  return NextPageId();
}
