#include "wizard/pages/out_of_disk_space_page.h"

#include "platform/ui/messages.h"

bool OutOfDiskSpacePage::ActivatePage() {
  PicturePage::ActivatePage();
  SetDefaultButton(kChangePath);
  FocusItem(kChangePath);
  return false;  // the focus is set
}

bool OutOfDiskSpacePage::OnCommand(int id, int notifyCode) {
  if (notifyCode == platform::ui::notify::kButtonClicked) {
    if (id == kChangePath) {
      GoTo(page_id::kDestination);
      return true;
    }
    if (id == kChangeOption) {
      GoTo(page_id::kSetupType);
      return true;
    }
  }
  return PicturePage::OnCommand(id, notifyCode);
}

void OutOfDiskSpacePage::GoTo(int pageId) {
  SetNextPageId(pageId);
  WizardPage::NextPage();
}
