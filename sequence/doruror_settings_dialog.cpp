#include "sequence/doruror_settings_dialog.h"

#include <string>

#include "platform/ui/dialog.h"
#include "platform/ui/placement.h"
#include "profile/setup_settings.h"
#include "sequence/copy_delay.h"

namespace {

constexpr int kTemplateId = 143;
constexpr int kDelayEdit = 1036;
constexpr int kNo = 2;

class DorurorSettingsDialog : public platform::ui::Dialog {
 public:
  DorurorSettingsDialog(platform::ui::Window* owner, SetupSettings& settings)
      : Dialog(kTemplateId, owner), settings_(settings) {}

 protected:
  bool OnInitDialog() override {
    SetDefaultButton(kNo);
    FocusItem(kNo);
    platform::ui::CenterWindow(*this, Owner());
    SetItemText(kDelayEdit, std::to_string(settings_.FileCopyDelayInterval()));
    return false;  // the focus is on "No" already
  }

  void OnOK() override {
    settings_.SetFileCopyDelayInterval(CopyDelayFromText(ItemText(kDelayEdit)));
    Dialog::OnOK();
  }

  void OnCancel() override {
    settings_.SetFileCopyDelayInterval(copy_delay::kOff);
    Dialog::OnCancel();
  }

 private:
  SetupSettings& settings_;
};

}  // namespace

void AskDorurorSettings(platform::ui::Window* owner, SetupSettings& settings) {
  DorurorSettingsDialog dialog(owner, settings);
  dialog.DoModal();
}
