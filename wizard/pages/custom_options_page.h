#pragma once
// The custom options page (127): the groups that may be chosen, in a check
// list with each group's description beside it, the destination directory
// (typed, browsed for, or moved to another drive with the "Available Drive
// Space" dialog), and the space the ticked groups need and the drive has.

#include <cstdint>

#include "wizard/page_ids.h"
#include "wizard/pages/picture_page.h"

class CheckListBox;

class CustomOptionsPage : public PicturePage {
 public:
  static constexpr int kPageId = page_id::kCustomOptions;
  static constexpr int kBackPageId = page_id::kSetupType;
  static constexpr int kGroupList = 1018;
  static constexpr int kDestination = 1001;
  static constexpr int kBrowse = 4;
  static constexpr int kDescription = 1032;
  static constexpr int kDriveSpace = 1041;
  static constexpr int kSpaceRequired = 1043;
  static constexpr int kSpaceAvailable = 1044;

  explicit CustomOptionsPage(int nextPageId) : PicturePage(kPageId, nextPageId, kBackPageId) {}

  // Refuses a diskette, an empty choice and a full drive with a message;
  // otherwise installs the ticked groups into the destination and goes on
  // (to the out-of-disk-space page when they do not fit).
  void NextPage() override;

 protected:
  bool ActivatePage() override;
  bool OnCommand(int id, int notifyCode) override;
  std::intptr_t OnMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;

 private:
  void ShowDescription();
  // CustomTotal from the ticks, into "Space Required:".
  void UpdateSpaceRequired();
  // The free space of the destination's drive, into "Space Available:".
  void UpdateSpaceAvailable();
  void Browse();
  void ChooseDrive();
  bool AnyTicked() const;
  void InstallTickedGroups();

  CheckListBox* checkList_ = nullptr;  // owned by the list box
};

