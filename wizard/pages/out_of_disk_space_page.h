#pragma once
// The out-of-disk-space page (150, "Warning"): the chosen setup does not fit
// on the disk. Four square buttons lead on: change the installation path,
// change the setup type, continue anyway (Next), or cancel (with the
// question). Changing the path is the default.

#include "wizard/page_ids.h"
#include "wizard/pages/picture_page.h"

class OutOfDiskSpacePage : public PicturePage {
 public:
  static constexpr int kPageId = page_id::kOutOfDiskSpace;
  static constexpr int kChangePath = 1037;
  static constexpr int kChangeOption = 1038;

  explicit OutOfDiskSpacePage(int nextPageId) : PicturePage(kPageId, nextPageId) {}

 protected:
  bool ActivatePage() override;
  bool OnCommand(int id, int notifyCode) override;

 private:
  void GoTo(int pageId);
};
