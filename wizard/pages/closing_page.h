#pragma once
// A page that closes the run: installation complete (115), not properly
// installed (116) and removal complete (1547). Its one way on ends the run.
// Escape cancels nothing here: the work is done, or already abandoned, and a
// run that completed must not end as "not properly installed".

#include "wizard/pages/picture_page.h"

class ClosingPage : public PicturePage {
 public:
  static constexpr int kEndOfRun = -1;

  explicit ClosingPage(int pageId) : PicturePage(pageId, kEndOfRun) {}

  void CancelPage() override {}
};
