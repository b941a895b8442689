#pragma once
// A page with the picture panel at its left that leaves by the ways every page
// has: Next to its next page, Cancel with the question, and Back either to a
// fixed page or to the page that was on screen before it.

#include "wizard/wizard_page.h"

class PicturePage : public WizardPage {
 public:
  // Back goes to the page before this one (its previous page id).
  static constexpr int kBackToPrevious = 0;

  PicturePage(int pageId, int nextPageId, int backPageId = kBackToPrevious);

  int BackPageId() const { return backPageId_; }

 protected:
  // Binds the picture panel, then the common activation.
  bool ActivatePage() override;
  bool OnCommand(int id, int notifyCode) override;

 private:
  int backPageId_;
};
