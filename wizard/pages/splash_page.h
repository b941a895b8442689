#pragma once
// The splash picture (132): on screen exactly as long as the install tables
// take to load, then on to the welcome page.

#include "wizard/page_ids.h"
#include "wizard/wizard_page.h"

class SplashPage : public WizardPage {
 public:
  static constexpr int kPageId = page_id::kSplash;
  static constexpr int kPictureId = 1019;  // caption "SPLASHBIT"

  explicit SplashPage(int nextPageId) : WizardPage(kPageId, nextPageId) {}

  // The loading step; the next page id.
  int RunPageAction() override;

 protected:
  bool ActivatePage() override;
};
