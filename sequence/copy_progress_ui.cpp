#include "sequence/copy_progress_ui.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "app/setup_app.h"
#include "platform/ui/application.h"
#include "sequence/billboard_sequence.h"
#include "wizard/gauge.h"
#include "wizard/pages/insert_diskette_dialog.h"
#include "wizard/wizard_page.h"

bool CopyProgressUi::AskForDiskette(const DiskettePrompt& prompt) { return AskForDisketteDialog(&page_, prompt); }

bool CopyProgressUi::ReportSourceError(const ErrorReport& report) { return app_.ShowErrorReport(report); }

void CopyProgressUi::ShowSource(const std::string& fileName) {
  page_.SetItemText(kSourceText, fileName);
  page_.UpdateNow();
}

void CopyProgressUi::ShowProgress(uint64_t position, const std::string& destinationPath) {
  // The gauge counts in 32 bits; a larger position is simply full.
  const uint64_t limited = std::min<uint64_t>(position, std::numeric_limits<std::uint32_t>::max());
  gauge_.SetPos(static_cast<std::uint32_t>(limited), true);
  page_.SetItemText(kDestinationText, destinationPath);
  billboards_.Advance(position);
}

bool CopyProgressUi::PollCancel() {
  platform::ui::PumpMessages();
  return app_.IsCancelled();
}
