#include "wizard/pages/picture_page.h"

#include "platform/ui/messages.h"

PicturePage::PicturePage(int pageId, int nextPageId, int backPageId)
    : WizardPage(pageId, nextPageId), backPageId_(backPageId) {}

bool PicturePage::ActivatePage() {
  BindPicturePanel();
  return WizardPage::ActivatePage();
}

bool PicturePage::OnCommand(int id, int notifyCode) {
  if (id == page_control::kBack && notifyCode == platform::ui::notify::kButtonClicked &&
      backPageId_ != kBackToPrevious) {
    // A fixed way back: where the user came from does not matter.
    SetNextPageId(backPageId_);
    WizardPage::NextPage();
    return true;
  }
  return WizardPage::OnCommand(id, notifyCode);
}
