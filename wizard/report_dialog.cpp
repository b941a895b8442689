#include "wizard/report_dialog.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "platform/ui/application.h"
#include "platform/ui/messages.h"
#include "platform/ui/modal_policy.h"
#include "platform/ui/resources_access.h"

namespace {

namespace control {
constexpr int kShortText = 140;
constexpr int kContextLine = 141;
constexpr int kIcon = 142;
constexpr int kInfoLine = 144;
constexpr int kLongText = 152;
constexpr int kMore = 119;
constexpr int kMarker = 123;
constexpr int kHelp = 998;
}  // namespace control

// Replaces the first `from` in text with `to`.
std::string Swapped(std::string text, std::string_view from, std::string_view to) {
  if (const auto at = text.find(from); at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

}  // namespace

CReportDialog::CReportDialog(const ErrorReport& report, platform::ui::Window* owner)
    : Dialog(kTemplateId, owner), report_(report) {}

bool CReportDialog::Run() {
  const int result = DoModal();
  return report_.continuationAllowed && result == platform::ui::kIdOk;
}

bool CReportDialog::OnInitDialog() {
  Dialog::OnInitDialog();
  SetItemIcon(control::kIcon, platform::ui::SystemIcon::Warning);
  SetItemText(control::kContextLine, report_.contextLine);
  SetItemText(control::kShortText, report_.shortText);
  SetItemBackground(control::kLongText, platform::ui::SystemColor(platform::ui::SysColor::ButtonFace));
  SetItemText(control::kLongText, report_.longText);
  SetItemText(control::kInfoLine, report_.infoLine);
  if (report_.continuationAllowed) {
    SetItemText(platform::ui::kIdOk, report_.continueText);
    SetItemText(platform::ui::kIdCancel, report_.cancelText);
  } else {
    ShowItem(platform::ui::kIdCancel, false);
  }

  // The controls that start below the marker make up the long part.
  const int markerTop = ItemRect(control::kMarker).top();
  if (const auto* app = platform::ui::Application::Current()) {
    if (const auto* dialogTemplate = app->Resources().FindDialog(TemplateId())) {
      for (const auto& item : dialogTemplate->controls) {
        if (item.id == -1 || item.id == control::kMarker || !HasItem(item.id)) continue;
        if (ItemRect(item.id).top() >= markerTop) lowerControls_.push_back(item.id);
      }
    }
  }
  fullClientHeight_ = ClientRect().height();
  reducedClientHeight_ = markerTop;
  SetFullSize(false);
  return true;
}

bool CReportDialog::OnCommand(int id, int notifyCode) {
  if (id == control::kMore) {
    SetFullSize(!fullSize_);
    return true;
  }
  // Help has no action in the report.
  if (id == control::kHelp) return true;
  return Dialog::OnCommand(id, notifyCode);
}

void CReportDialog::SetFullSize(bool fullSize) {
  fullSize_ = fullSize;
  // Sized by the client area, so that whatever frame the window has stays as it is.
  const int clientHeight = fullSize ? fullClientHeight_ : reducedClientHeight_;
  QRect rect = Rect();
  rect.setHeight(rect.height() + clientHeight - ClientRect().height());
  Move(rect);
  for (int id : lowerControls_) EnableItem(id, fullSize);
  const std::string text = ItemText(control::kMore);
  SetItemText(control::kMore, fullSize ? Swapped(text, ">>", "<<") : Swapped(text, "<<", ">>"));
}

bool DialogErrorReporter::ShowErrorReport(const ErrorReport& report) {
  // Nobody reads the dialog of an unattended run: its answer line alone would
  // say which report it was, not what went wrong.
  if (platform::ui::IsUnattended()) {
    std::fputs(ErrorReportText(report).c_str(), stderr);
    std::fflush(stderr);
  }
  const auto* app = platform::ui::Application::Current();
  CReportDialog dialog(report, app != nullptr ? app->MainWindow() : nullptr);
  return dialog.Run();
}
