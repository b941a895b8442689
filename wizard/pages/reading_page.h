#pragma once
// "Reading Setup information. Please wait." (114): the removal run's loading
// page. It reads the tables back from the install log, which is the run's
// install tables file, then goes on by itself.

#include "wizard/page_ids.h"
#include "wizard/pages/picture_page.h"

class ReadingPage : public PicturePage {
 public:
  static constexpr int kPageId = page_id::kReading;
  static constexpr int kBackPageId = page_id::kLicence;

  explicit ReadingPage(int nextPageId) : PicturePage(kPageId, nextPageId, kBackPageId) {}

  int RunPageAction() override;
};
