#include "wizard/pages/program_folder_page.h"

#include "app/setup_app.h"
#include "install/log/install_log.h"
#include "platform/profile/private_profile.h"
#include "platform/ui/messages.h"
#include "system/program_manager_groups.h"
#include "system/start_menu_folders.h"

std::vector<std::string> ExistingProgramFolders(bool isNT, bool isNT4) {
  if (isNT && !isNT4) return ProgramManagerGroups();
  return StartMenuProgramFolders();
}

bool ProgramFolderPage::ActivatePage() {
  SetupApp& app = SetupApp::Current();
  // A batch run keeps the proposed folder: left empty, as the page once left
  // it, the items of a batch install would land loose in the Programs folder
  // (or in a Program Manager group without a name). The list is not needed.
  if (app.BatchMode()) {
    SetItemText(kFolder, app.ProgramFolder());
    return PicturePage::ActivatePage();
  }
  for (const std::string& folder : ExistingProgramFolders(app.IsNT(), app.IsNT4())) {
    AddListString(kExistingFolders, folder);
  }
  SetItemText(kFolder, app.ProgramFolder());
  return PicturePage::ActivatePage();
}

bool ProgramFolderPage::OnCommand(int id, int notifyCode) {
  if (id == kExistingFolders && notifyCode == platform::ui::notify::kListSelChange) {
    const int selected = ListSelection(kExistingFolders);
    if (selected >= 0) SetItemText(kFolder, ListText(kExistingFolders, selected));
    return true;
  }
  return PicturePage::OnCommand(id, notifyCode);
}

void ProgramFolderPage::NextPage() {
  SetupApp& app = SetupApp::Current();
  app.SetProgramFolder(ItemText(kFolder));
  // A log that cannot be written stops nothing here; the copy writes the log
  // again and reports what fails there.
  platform::WritePrivateProfileString(install_log::kProgramFolderSection, install_log::kProgramFolderKey,
                                      app.ProgramFolder().c_str(), app.InstallLogFile());
  PicturePage::NextPage();
}
