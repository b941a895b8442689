#pragma once
// The "Warning" dialog that shows an error report: context line, short text,
// error-information line and, behind "More>>", the long text. Either an OK
// button alone or "Continue Operation" and "Cancel Operation".

#include <vector>

#include "install/errors/error_report.h"
#include "platform/ui/dialog.h"

class CReportDialog : public platform::ui::Dialog {
 public:
  static constexpr int kTemplateId = 1544;

  CReportDialog(const ErrorReport& report, platform::ui::Window* owner);

  // Shows the report modally. True when the user chose to continue (button 1 of
  // a report that allows it); always false for the OK-only form.
  bool Run();

  // Whether the long part below the marker is shown.
  bool IsFullSize() const { return fullSize_; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int notifyCode) override;

 private:
  void SetFullSize(bool fullSize);

  const ErrorReport report_;
  bool fullSize_ = true;
  int fullClientHeight_ = 0;
  int reducedClientHeight_ = 0;  // the top of the marker
  std::vector<int> lowerControls_;  // the controls below the marker
};

// Shows every report in the dialog above, modal over the application's main
// window. Install it with SetErrorReporter.
class DialogErrorReporter : public ErrorReporter {
 public:
  bool ShowErrorReport(const ErrorReport& report) override;
};
