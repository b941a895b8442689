#include "wizard/pages/insert_diskette_dialog.h"

#include "platform/ui/dialog.h"
#include "platform/ui/messages.h"

namespace {

constexpr int kTemplateId = 113;
constexpr int kPromptText = 1026;

class InsertDisketteDialog : public platform::ui::Dialog {
 public:
  InsertDisketteDialog(platform::ui::Window* owner, const DiskettePrompt& prompt)
      : Dialog(kTemplateId, owner), prompt_(prompt) {}

 protected:
  bool OnInitDialog() override {
    SetItemText(kPromptText, prompt_.text);
    return true;
  }

 private:
  const DiskettePrompt& prompt_;
};

}  // namespace

bool AskForDisketteDialog(platform::ui::Window* owner, const DiskettePrompt& prompt) {
  InsertDisketteDialog dialog(owner, prompt);
  return dialog.DoModal() == platform::ui::kIdOk;
}
