#pragma once
// "Select Program Group" (106): the program folder name in edit 1006, typed or
// picked from the existing folders (list 1007). Next records it in the install
// log, where the removal finds it again.

#include <string>
#include <vector>

#include "wizard/page_ids.h"
#include "wizard/pages/picture_page.h"

class ProgramFolderPage : public PicturePage {
 public:
  static constexpr int kPageId = page_id::kProgramFolder;
  static constexpr int kBackPageId = page_id::kSetupType;
  static constexpr int kFolder = 1006;
  static constexpr int kExistingFolders = 1007;

  explicit ProgramFolderPage(int nextPageId) : PicturePage(kPageId, nextPageId, kBackPageId) {}

  void NextPage() override;

 protected:
  bool ActivatePage() override;
  bool OnCommand(int id, int notifyCode) override;
};

// The folders a program folder may join: Program Manager's groups on
// Windows NT 3.x, the start menu's "Programs" folders elsewhere.
std::vector<std::string> ExistingProgramFolders(bool isNT, bool isNT4);
