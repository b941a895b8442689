#pragma once
// "Install Conditions" (1537): in the page table, but never shown; the run
// passes straight on to its next page.

#include "wizard/page_ids.h"
#include "wizard/pages/picture_page.h"

class InstallConditionsPage : public PicturePage {
 public:
  static constexpr int kPageId = page_id::kInstallConditions;

  explicit InstallConditionsPage(int nextPageId) : PicturePage(kPageId, nextPageId) {}

  bool ShouldShowPage() override { return false; }
};
