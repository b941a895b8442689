#pragma once
// "Start Copying Files" (152): what the install is about to do, in the
// read-only edit 1045. Next makes sure the install directory exists.

#include <string>

#include "install/tables/group_table.h"
#include "wizard/page_ids.h"
#include "wizard/pages/picture_page.h"

class SummaryPage : public PicturePage {
 public:
  static constexpr int kPageId = page_id::kStartCopying;
  static constexpr int kBackPageId = page_id::kProgramFolder;
  static constexpr int kSettings = 1045;

  explicit SummaryPage(int nextPageId) : PicturePage(kPageId, nextPageId, kBackPageId) {}

  void NextPage() override;

 protected:
  bool ActivatePage() override;
};

// The summary: the setup type, the descriptions of those of "program",
// "Fonts", "art600" and "art2000" that are to be installed, the install
// directory and the program folder, lines ended by CR LF. Nothing is cut.
std::string SummaryText(SetupType type, const CGroupTable& groups, const std::string& installDirectory,
                        const std::string& programFolder);
