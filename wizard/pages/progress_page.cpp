#include "wizard/pages/progress_page.h"

#include "platform/core/exceptions.h"
#include "platform/resources/window_styles.h"
#include "wizard/gauge.h"

ProgressPage::ProgressPage(int pageId, int nextPageId, std::uint32_t gaugeMinimum, std::uint32_t gaugeMaximum)
    : WizardPage(pageId, nextPageId), gaugeMinimum_(gaugeMinimum), gaugeMaximum_(gaugeMaximum) {}

ProgressPage::~ProgressPage() = default;

bool ProgressPage::ActivatePage() {
  auto gauge = std::make_unique<CGauge>();
  if (!gauge->CreateOver(*this, kGaugeFrameId, platform::WS_CHILD | platform::WS_VISIBLE | platform::WS_BORDER)) {
    throw platform::ResourceException("the progress gauge cannot be created");
  }
  gauge->SetRange(gaugeMinimum_, gaugeMaximum_);
  gauge->SetPos(0, false);
  gauge_ = std::move(gauge);
  return WizardPage::ActivatePage();
}

int ProgressPage::RunPageAction() { return NextPageId(); }
