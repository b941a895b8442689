#pragma once
// The removal page (1546): its action takes the installation away, showing the
// path being removed in control 1031 and the steps on the gauge. A confirmed
// Cancel stops the removal before its next file; the run then ends on 116.

#include "wizard/pages/progress_page.h"

class RemovalPage : public ProgressPage {
 public:
  static constexpr int kPathText = 1031;

  explicit RemovalPage(int nextPageId);

  // The next page when the removal went through, 116 when it was cancelled.
  int RunPageAction() override;
  void CancelPage() override;

 private:
  bool removing_ = false;
};
