#include "wizard/pages/removal_page.h"

#include <algorithm>

#include "app/main_window.h"
#include "app/profile_messages.h"
#include "app/setup_app.h"
#include "install/tables/destination_table.h"
#include "platform/ui/application.h"
#include "system/removal.h"
#include "wizard/gauge.h"
#include "wizard/page_ids.h"

namespace {

constexpr std::uint32_t kGaugeMinimum = 0;
constexpr std::uint32_t kGaugeMaximum = 99;

class PageRemovalProgress : public RemovalProgress {
 public:
  PageRemovalProgress(RemovalPage& page, CGauge& gauge, SetupApp& app) : page_(page), gauge_(gauge), app_(app) {}

  void ShowPath(const std::string& path) override {
    page_.SetItemText(RemovalPage::kPathText, path);
    platform::ui::PumpMessages();
  }
  void SetPercent(int percent) override {
    gauge_.SetPos(static_cast<std::uint32_t>(std::clamp<int>(percent, kGaugeMinimum, kGaugeMaximum)), true);
  }
  bool Cancelled() override { return app_.IsCancelled(); }

 private:
  RemovalPage& page_;
  CGauge& gauge_;
  SetupApp& app_;
};

}  // namespace

RemovalPage::RemovalPage(int nextPageId)
    : ProgressPage(page_id::kRemoving, nextPageId, kGaugeMinimum, kGaugeMaximum) {}

int RemovalPage::RunPageAction() {
  SetupApp& app = SetupApp::Current();
  const std::string installDirectory = app.Destinations().PathOf(CDestinationTable::kInstallDirectory);
  RemovalWork work{app.Destinations(),
                   app.Groups(),
                   app.Targets(),
                   app.RegistryEntries(),
                   app.Commands(),
                   app.InstallLogFile(),
                   app.SourceDirectory(),
                   {app.ProgramFolder(), installDirectory, app.IsNT(), app.IsNT4()}};
  PageRemovalProgress progress(*this, *Gauge(), app);
  ProfileMessageBoxes messages;
  removing_ = true;
  const RemovalOutcome outcome = RemoveInstallation(work, progress, app.MainWnd(), messages);
  removing_ = false;
  if (outcome == RemovalOutcome::Cancelled || app.IsCancelled()) {
    app.SetCancelled();
    return page_id::kNotInstalled;
  }
  return NextPageId();
}

void RemovalPage::CancelPage() {
  if (!removing_) {
    ProgressPage::CancelPage();
    return;
  }
  if (ConfirmCancel()) SetupApp::Current().SetCancelled();
}
