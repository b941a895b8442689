#include "wizard/pages/custom_options_page.h"

#include <optional>
#include <string>

#include "app/setup_app.h"
#include "install/tables/destination_table.h"
#include "install/tables/group_table.h"
#include "install/tables/space_survey.h"
#include "platform/ui/messages.h"
#include "support/path.h"
#include "wizard/page_chain.h"
#include "wizard/pages/browse_dialog.h"
#include "wizard/pages/check_list_box.h"
#include "wizard/pages/drive_space_dialog.h"
#include "wizard/pages/page_message.h"
#include "wizard/pages/space_check.h"
#include "wizard/pages/space_text.h"

namespace {

// What the ticked groups need: each one's space, and with "program" the groups
// that come with it.
std::int32_t TickedGroupsSpace(const CheckListBox& list, SetupApp& app) {
  CGroupTable& groups = app.Groups();
  std::int32_t total = 0;
  for (int index = 0; index < list.Count(); ++index) {
    CGroup* group = list.GroupAt(index);
    if (group == nullptr || group->ticked == 0) continue;
    total = AddClamped(total, GroupSpace(group, app.Sources()));
    if (group != groups.Find(group_name::kProgram)) continue;
    for (const char* name : {group_name::kMain, group_name::kPremade, TemplateGroupName(app.International())}) {
      total = AddClamped(total, GroupSpace(groups.Find(name), app.Sources()));
    }
  }
  return total;
}

}  // namespace

bool CustomOptionsPage::ActivatePage() {
  SetupApp& app = SetupApp::Current();
  checkList_ = &CheckListBox::Attach(*this, kGroupList);
  for (const auto& group : app.Groups().Groups()) {
    if (group->customFlag == 0) continue;
    group->ticked = 1;
    checkList_->AddGroup(*group);
  }
  SetListSelection(kGroupList, 0);
  SetItemText(kDestination, app.Destinations().PathOf(CDestinationTable::kInstallDirectory));
  ShowDescription();
  // Every group is ticked again: the total shown is theirs, not that of a
  // choice made on an earlier visit.
  UpdateSpaceRequired();
  UpdateSpaceAvailable();
  return PicturePage::ActivatePage();
}

bool CustomOptionsPage::OnCommand(int id, int notifyCode) {
  namespace notify = platform::ui::notify;
  if (id == kGroupList && notifyCode == notify::kListSelChange) {
    ShowDescription();
    return true;
  }
  if (id == kGroupList && notifyCode == notify::kListDoubleClick) {
    checkList_->SendMessage(WM_CHECK_CHANGED);
    return true;
  }
  if (id == kDestination && notifyCode == notify::kEditUpdate) {
    UpdateSpaceAvailable();
    return true;
  }
  if (id == kBrowse && notifyCode == notify::kButtonClicked) {
    Browse();
    return true;
  }
  if (id == kDriveSpace && notifyCode == notify::kButtonClicked) {
    ChooseDrive();
    return true;
  }
  return PicturePage::OnCommand(id, notifyCode);
}

std::intptr_t CustomOptionsPage::OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  if (message == WM_CHECK_CHANGED) {
    // A tick posted just before Next arrives after the page has been left; the
    // totals are then Next's, from the sources, and stay so.
    if (CurrentPage() == this) UpdateSpaceRequired();
    return 0;
  }
  return PicturePage::OnMessage(message, wParam, lParam);
}

void CustomOptionsPage::ShowDescription() {
  const CGroup* group = checkList_->SelectedGroup();
  SetItemText(kDescription, group != nullptr ? group->description : std::string());
}

void CustomOptionsPage::UpdateSpaceRequired() {
  SetupApp& app = SetupApp::Current();
  std::int32_t& total = app.Totals().For(SetupType::Custom).total;
  total = TickedGroupsSpace(*checkList_, app);
  SetItemText(kSpaceRequired, SpaceRequiredText(kSpaceTab, total));
}

void CustomOptionsPage::UpdateSpaceAvailable() {
  SetItemText(kSpaceAvailable, SpaceAvailableText(kSpaceTab, DriveFreeBytes(ItemText(kDestination))));
}

void CustomOptionsPage::Browse() {
  if (const std::optional<std::string> chosen = BrowseForDirectory(*this, ItemText(kDestination))) {
    SetItemText(kDestination, *chosen);
    UpdateSpaceAvailable();
  }
}

void CustomOptionsPage::ChooseDrive() {
  CPath destination(ItemText(kDestination));
  const std::string drive = destination.GetDrive();
  const std::int32_t required = SetupApp::Current().Totals().For(SetupType::Custom).total;
  const std::optional<char> chosen = ChooseDriveSpace(*this, drive.empty() ? '\0' : drive.front(), required);
  if (!chosen) return;
  destination.SetDrive(std::string(1, *chosen));
  SetItemText(kDestination, destination.Text());
  UpdateSpaceAvailable();
}

bool CustomOptionsPage::AnyTicked() const {
  for (int index = 0; index < checkList_->Count(); ++index) {
    if (checkList_->IsTicked(index)) return true;
  }
  return false;
}

void CustomOptionsPage::NextPage() {
  // Made full, as on the destination page: a relative directory would follow
  // the current directory, and an empty text names no place at all.
  const std::string destination = CPath(ItemText(kDestination)).GetFullPath();
  if (IsDisketteDrive(destination)) {
    ShowPageMessage(*this, page_message::kFloppyDrive);
    return;
  }
  if (!AnyTicked()) {
    ShowPageMessage(*this, page_message::kNothingTicked);
    return;
  }
  if (destination.empty() || DriveFreeBytes(destination) == 0) {
    ShowPageMessage(*this, page_message::kNoSpaceOnDrive);
    return;
  }

  SetupApp& app = SetupApp::Current();
  app.Destinations().SetPath(CDestinationTable::kInstallDirectory, destination);
  app.Destinations().Resolve();
  InstallTickedGroups();
  ComputeCustomTotals(app.Totals(), app.Sources(), app.Destinations(), app.SourceDirectory());
  if (!FitsOnDisk(app.Destinations(), app.Totals().For(SetupType::Custom))) {
    SetNextPageId(page_id::kOutOfDiskSpace);
  }
  WizardPage::NextPage();
}

void CustomOptionsPage::InstallTickedGroups() {
  SetupApp& app = SetupApp::Current();
  CGroupTable& groups = app.Groups();
  for (const auto& group : groups.Groups()) {
    if (group->customFlag != 0) group->install = group->ticked;
  }
  if (CGroup* main = groups.Find(group_name::kMain)) main->install = 1;
  if (!groups.IsInstalled(group_name::kProgram)) return;
  for (const char* name : {group_name::kPremade, TemplateGroupName(app.International())}) {
    if (CGroup* group = groups.Find(name)) group->install = 1;
  }
}
