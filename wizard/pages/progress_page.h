#pragma once
// A progress page: the copying page (108) and the removal page (1546). The
// gauge takes the place of the frame control 1010 when the page starts.

#include <cstdint>
#include <memory>

#include "wizard/wizard_page.h"

class CGauge;

class ProgressPage : public WizardPage {
 public:
  static constexpr int kGaugeFrameId = 1010;

  ProgressPage(int pageId, int nextPageId, std::uint32_t gaugeMinimum, std::uint32_t gaugeMaximum);
  ~ProgressPage() override;

  // Null until the page has been activated.
  CGauge* Gauge() const { return gauge_.get(); }

  // The work the page shows the progress of, then the next page id. The page
  // has no Next button, so it must move on by itself; the copying and removal
  // pages do their work here first.
  int RunPageAction() override;

 protected:
  // Places the gauge, then the common activation.
  bool ActivatePage() override;

 private:
  std::unique_ptr<CGauge> gauge_;
  std::uint32_t gaugeMinimum_;
  std::uint32_t gaugeMaximum_;
};
