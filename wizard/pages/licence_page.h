#pragma once
// The licence agreement (128): the text of "agree.txt" from the source
// directory in a read-only edit. Next accepts it; Cancel declines.

#include <string>

#include "wizard/page_ids.h"
#include "wizard/pages/picture_page.h"

class LicencePage : public PicturePage {
 public:
  static constexpr int kPageId = page_id::kLicence;
  static constexpr int kBackPageId = page_id::kWelcome;
  static constexpr int kLicenceText = 1016;
  static constexpr const char* kLicenceFileName = "agree.txt";

  explicit LicencePage(int nextPageId) : PicturePage(kPageId, nextPageId, kBackPageId) {}

 protected:
  // Reads the licence before the page goes on screen: a file that cannot be
  // read raises CXFileException, and no half-made page is left behind.
  bool ActivatePage() override;
};

// The whole file as it stands (its CR LF line ends kept). Raises CXFileException
// when it cannot be opened or read.
std::string ReadLicenceText(const std::string& path);
