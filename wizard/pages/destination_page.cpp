#include "wizard/pages/destination_page.h"

#include "app/setup_app.h"
#include "install/tables/destination_table.h"
#include "platform/ui/messages.h"
#include "support/drive_iterator.h"
#include "support/path.h"
#include "wizard/pages/browse_dialog.h"
#include "wizard/pages/page_message.h"
#include "wizard/pages/space_check.h"

std::string DefaultInstallDirectory(const CDestinationTable& destinations) {
  const Destination* install = destinations.Find(CDestinationTable::kInstallDirectory);
  if (install == nullptr) return {};
  if (!install->path.empty()) return install->path;
  CDriveIterator drives;
  if (!drives.FindFirstFixed()) return {};
  // "C:" and a bare name would be relative to the drive's current directory,
  // which is wherever the last program left it: the name goes under the root.
  std::string directory{drives.GetLetter(), ':'};
  if (install->relativeName.empty() || install->relativeName.front() != '\\') directory += '\\';
  return directory + install->relativeName;
}

unsigned RefusalOfInstallDirectory(const std::string& directory) {
  if (IsDisketteDrive(directory)) return page_message::kFloppyDrive;
  if (DriveFreeBytes(directory) == 0) return page_message::kNoSpaceOnDrive;
  return 0;
}

bool DestinationPage::ActivatePage() {
  SetItemText(kDirectory, DefaultInstallDirectory(SetupApp::Current().Destinations()));
  return PicturePage::ActivatePage();
}

void DestinationPage::NextPage() {
  // Made full now: a relative directory would follow the current directory,
  // which the install's directory tests keep moving. A text that cannot be
  // made full (empty, too long) names no place to install to.
  const std::string directory = CPath(ItemText(kDirectory)).GetFullPath();
  if (directory.empty()) {
    ShowPageMessage(*this, page_message::kNoSpaceOnDrive);
    return;
  }
  if (const unsigned refusal = RefusalOfInstallDirectory(directory)) {
    ShowPageMessage(*this, refusal);
    return;
  }
  CDestinationTable& destinations = SetupApp::Current().Destinations();
  destinations.SetPath(CDestinationTable::kInstallDirectory, directory);
  destinations.Resolve();
  PicturePage::NextPage();
}

bool DestinationPage::OnCommand(int id, int notifyCode) {
  if (id == kBrowse && notifyCode == platform::ui::notify::kButtonClicked) {
    if (auto chosen = BrowseForDirectory(*this, ItemText(kDirectory))) SetItemText(kDirectory, *chosen);
    return true;
  }
  return PicturePage::OnCommand(id, notifyCode);
}
