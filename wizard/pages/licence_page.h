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

  // Reads the licence. It is read when the page is made, before it has a
  // window: a file that cannot be read raises CXFileException out of the step
  // that wanted the page, and the page before it stays as it was.
  explicit LicencePage(int nextPageId);

 protected:
  bool ActivatePage() override;

 private:
  std::string text_;
};

// The whole file as it stands (its CR LF line ends kept). Raises CXFileException
// when it cannot be opened or read.
std::string ReadLicenceText(const std::string& path);
