#pragma once
// "Select Destination Directory" (104): the install directory in edit 1001,
// typed or browsed for. Next refuses a diskette, a drive without free space
// and a text that names no directory; otherwise the directory, made full,
// becomes destination 0 and the paths under it are resolved.

#include <cstdint>
#include <string>

#include "wizard/page_ids.h"
#include "wizard/pages/picture_page.h"

class CDestinationTable;

class DestinationPage : public PicturePage {
 public:
  static constexpr int kPageId = page_id::kDestination;
  static constexpr int kBackPageId = page_id::kLicence;
  static constexpr int kDirectory = 1001;
  static constexpr int kBrowse = 4;

  explicit DestinationPage(int nextPageId) : PicturePage(kPageId, nextPageId, kBackPageId) {}

  void NextPage() override;

 protected:
  bool ActivatePage() override;
  bool OnCommand(int id, int notifyCode) override;
};

// The install directory to offer: destination 0's path, or, while it has none,
// the first fixed drive with destination 0's relative name as a directory of
// its root.
std::string DefaultInstallDirectory(const CDestinationTable& destinations);

// The page message (string id) that refuses directory as the install
// directory, or 0 when its drive will do.
unsigned RefusalOfInstallDirectory(const std::string& directory);
