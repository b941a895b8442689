#include "wizard/pages/setup_type_page.h"

#include "app/setup_app.h"
#include "install/tables/space_totals.h"
#include "platform/ui/messages.h"
#include "wizard/pages/space_check.h"
#include "wizard/pages/space_text.h"

std::string RegistrySelectorOf(SetupType type) {
  return std::string(1, type == SetupType::Minimum ? '\x01' : '\x02');
}

bool SetupTypePage::ActivatePage() {
  // Each button shows the bitmaps named after its caption: "MINIMUMU" up,
  // "MINIMUMD" pressed.
  for (int id : {kMinimumButton, kTypicalButton, kCustomButton}) BindBitmapButton(id, ItemText(id));
  const SpaceTotals& totals = SetupApp::Current().Totals();
  SetItemText(kMinimumSpace, SpaceRequiredText(kSpaceBlank, totals.For(SetupType::Minimum).total));
  SetItemText(kTypicalSpace, SpaceRequiredText(kSpaceBlank, totals.For(SetupType::Typical).total));
  SetItemText(kCustomSpace, SpaceRequiredText(kSpaceBlank, totals.For(SetupType::Custom).total));
  return PicturePage::ActivatePage();
}

void SetupTypePage::NextPage() { ChooseFixedSet(SetupType::Typical); }

bool SetupTypePage::OnCommand(int id, int notifyCode) {
  if (notifyCode == platform::ui::notify::kButtonClicked) {
    switch (id) {
      case kMinimumButton:
        ChooseFixedSet(SetupType::Minimum);
        return true;
      case kTypicalButton:
        ChooseFixedSet(SetupType::Typical);
        return true;
      case kCustomButton:
        ChooseCustom();
        return true;
      default:
        break;
    }
  }
  return PicturePage::OnCommand(id, notifyCode);
}

void SetupTypePage::ChooseFixedSet(SetupType type) {
  SetupApp& app = SetupApp::Current();
  if (!FitsOnDisk(app.Destinations(), app.Totals().For(type))) SetNextPageId(page_id::kOutOfDiskSpace);
  app.Groups().SelectSetupType(type);
  app.SetRegistrySelector(RegistrySelectorOf(type));
  app.SetChosenSetupType(type);
  WizardPage::NextPage();
}

void SetupTypePage::ChooseCustom() {
  // The groups are chosen, and the space checked, on the custom options page.
  SetupApp& app = SetupApp::Current();
  SetNextPageId(page_id::kCustomOptions);
  app.SetRegistrySelector(RegistrySelectorOf(SetupType::Custom));
  app.SetChosenSetupType(SetupType::Custom);
  WizardPage::NextPage();
}
