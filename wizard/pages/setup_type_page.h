#pragma once
// The setup type page (125): three large picture buttons, Minimum, Typical and
// Custom, beside the picture panel.

#include "wizard/page_ids.h"
#include "wizard/pages/picture_page.h"

class SetupTypePage : public PicturePage {
 public:
  static constexpr int kPageId = page_id::kSetupType;
  static constexpr int kBackPageId = page_id::kDestination;
  static constexpr int kMinimumButton = 1019;  // caption "MINIMUM"
  static constexpr int kTypicalButton = 1020;  // caption "TYPICAL"
  static constexpr int kCustomButton = 1021;   // caption "CUSTOM"

  explicit SetupTypePage(int nextPageId) : PicturePage(kPageId, nextPageId, kBackPageId) {}

 protected:
  bool ActivatePage() override;
};
