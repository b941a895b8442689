#include "sequence/copy_page.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "app/main_window.h"
#include "app/setup_app.h"
#include "install/archive/archive_entry.h"
#include "install/copy/file_copy.h"
#include "install/tables/source_file_list.h"
#include "platform/ui/application.h"
#include "platform/ui/placement.h"
#include "profile/setup_settings.h"
#include "sequence/billboard_sequence.h"
#include "sequence/copy_progress_ui.h"
#include "sequence/doruror_settings_dialog.h"
#include "sequence/install_completion.h"
#include "sequence/install_lists.h"
#include "support/path.h"
#include "system/target_table.h"
#include "wizard/gauge.h"
#include "wizard/page_ids.h"

namespace {

constexpr std::uint32_t kGaugeMinimum = 1;

// A program item takes the path its file was installed to.
FileDoneHook SetTargetCommandPath(CTargetTable& targets) {
  return [&targets](const CArchiveEntry& entry) {
    const CPath destination(entry.DestinationPath());
    if (CTarget* target = targets.Find(destination.GetNameExt())) target->commandPath = destination;
  };
}

}  // namespace

CopyPage::CopyPage(int nextPageId) : ProgressPage(page_id::kCopying, nextPageId, kGaugeMinimum, kGaugeMinimum) {}

void CopyPage::OnPageInit() {
  if (platform::ui::Application* app = platform::ui::Application::Current()) {
    platform::ui::PlaceWindow(*this, app->ScreenRect(), 1, 2, 3, 4);
  }
}

int CopyPage::RunPageAction() {
  SetupApp& app = SetupApp::Current();
  PrepareInstallLists(app);
  // The tables go into the log before the first file as well as after the
  // copy: a run that is cancelled or fails half-way leaves a log from which a
  // removal can take away what was copied.
  if (app.LogFlag()) WriteInstallTables(app);

  const std::uint64_t total = CFileCopy::TotalSize(app.Sources());
  Gauge()->SetRange(kGaugeMinimum,
                    static_cast<std::uint32_t>(std::min<std::uint64_t>(total, std::numeric_limits<std::uint32_t>::max())));
  Gauge()->SetPos(0, true);

  AskDorurorSettings(app.MainWnd(), app.Settings());
  BillboardSequence billboards(app.MainWnd(), app.BatchMode());
  billboards.Start(total);

  CopySettings settings;
  settings.destinations = &app.Destinations();
  settings.diskettes = &app.Diskettes();
  settings.sourceDirectory = app.SourceDirectory();
  settings.logFile = app.InstallLogFile();
  settings.fileDone = SetTargetCommandPath(app.Targets());

  CopyProgressUi ui(*this, *Gauge(), billboards, app);
  CFileCopy copy(std::move(settings), ui);
  copying_ = true;
  const CopyOutcome outcome = copy.CopyAllSources(app.Sources());
  copying_ = false;
  if (outcome == CopyOutcome::Cancelled || app.IsCancelled()) {
    app.SetCancelled();
    return page_id::kNotInstalled;
  }

  // The tables, with the installed paths of the program items' files, go into
  // the log before the items are made: that is how a removal finds an item.
  if (app.LogFlag()) WriteInstallTables(app);
  if (app.Groups().IsInstalled(group_name::kProgram)) CreateInstallProgramItems(app);
  billboards.Close();
  CompleteProduct(app);
  return NextPageId();
}

void CopyPage::CancelPage() {
  if (!copying_) {
    ProgressPage::CancelPage();
    return;
  }
  if (ConfirmCancel()) SetupApp::Current().SetCancelled();
}
