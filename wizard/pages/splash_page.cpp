#include "wizard/pages/splash_page.h"

#include "app/setup_app.h"
#include "wizard/pages/setup_tables_loading.h"

bool SplashPage::ActivatePage() {
  BindPicturePanel(kPictureId);
  return WizardPage::ActivatePage();
}

int SplashPage::RunPageAction() {
  LoadSetupInformation(SetupApp::Current());
  return NextPageId();
}
