#pragma once
// The copying page (108). Its action installs the product in one pass: the
// lists the copy needs, the "Doruror Settings" question, the billboards, the
// copy itself, the program items, the install tables in the log, and the
// product's own completion. It is placed at half the screen's width and three
// quarters of its height, under the billboards.

#include "wizard/pages/progress_page.h"

class CopyPage : public ProgressPage {
 public:
  explicit CopyPage(int nextPageId);

  // 115 when the copy completed, 116 when it was cancelled.
  int RunPageAction() override;
  // While the copy runs a confirmed Cancel only sets the cancelled flag: the copy
  // stops at its next look at it and the action leads to page 116.
  void CancelPage() override;

 protected:
  void OnPageInit() override;

 private:
  bool copying_ = false;
};
