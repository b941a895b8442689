#include "wizard/pages/drive_space_dialog.h"

#include <cctype>
#include <string>

#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"
#include "support/drive_iterator.h"
#include "wizard/pages/space_check.h"
#include "wizard/pages/space_text.h"

namespace {

constexpr int kTemplateId = 151;
constexpr int kDriveCombo = 1017;
constexpr int kSpaceRequired = 1039;
constexpr int kSpaceAvailable = 1040;

class DriveSpaceDialog : public platform::ui::Dialog {
 public:
  DriveSpaceDialog(platform::ui::Window& owner, char currentDrive, std::int64_t requiredBytes)
      : Dialog(kTemplateId, &owner),
        currentDrive_(static_cast<char>(std::toupper(static_cast<unsigned char>(currentDrive)))),
        requiredBytes_(requiredBytes) {}

  std::optional<char> Chosen() const { return chosen_; }

 protected:
  bool OnInitDialog() override {
    // The drives the machine knows, one letter each; the hidden list of the
    // template is not needed for that.
    CDriveIterator drives;
    while (drives.Next()) AddListString(kDriveCombo, std::string(1, drives.GetLetter()));
    const int current = FindListString(kDriveCombo, std::string(1, currentDrive_));
    SetListSelection(kDriveCombo, current >= 0 ? current : 0);
    SetItemText(kSpaceRequired, SpaceRequiredText(kSpaceBlank, requiredBytes_));
    UpdateSpaceAvailable();
    return true;
  }

  bool OnCommand(int id, int notifyCode) override {
    if (id != kDriveCombo || notifyCode != platform::ui::notify::kComboSelChange) return false;
    UpdateSpaceAvailable();
    return true;
  }

  void OnOK() override {
    const std::string drive = SelectedDrive();
    if (!drive.empty()) chosen_ = drive.front();
    Dialog::OnOK();
  }

 private:
  std::string SelectedDrive() const { return ListText(kDriveCombo, ListSelection(kDriveCombo)); }

  void UpdateSpaceAvailable() {
    const std::string drive = SelectedDrive();
    const std::int64_t free = drive.empty() ? 0 : DriveFreeBytes(drive + ":\\");
    SetItemText(kSpaceAvailable, SpaceAvailableText(kSpaceBlank, free));
  }

  char currentDrive_;
  std::int64_t requiredBytes_;
  std::optional<char> chosen_;
};

}  // namespace

std::optional<char> ChooseDriveSpace(platform::ui::Window& owner, char currentDrive, std::int64_t requiredBytes) {
  DriveSpaceDialog dialog(owner, currentDrive, requiredBytes);
  if (dialog.DoModal() != platform::ui::kIdOk) return std::nullopt;
  return dialog.Chosen();
}
