#pragma once
// The setup type page (125): three large picture buttons, Minimum, Typical and
// Custom, beside the picture panel, each with the space it needs under it.
// Minimum and Typical choose their groups and go on (to the out-of-disk-space
// page when they do not fit); Custom leads to the custom options page. Next is
// Typical.

#include <string>

#include "install/tables/group_table.h"
#include "wizard/page_ids.h"
#include "wizard/pages/picture_page.h"

class SetupTypePage : public PicturePage {
 public:
  static constexpr int kPageId = page_id::kSetupType;
  static constexpr int kBackPageId = page_id::kDestination;
  static constexpr int kMinimumButton = 1019;  // caption "MINIMUM"
  static constexpr int kTypicalButton = 1020;  // caption "TYPICAL"
  static constexpr int kCustomButton = 1021;   // caption "CUSTOM"
  static constexpr int kTypicalSpace = 1032;
  static constexpr int kCustomSpace = 1033;
  static constexpr int kMinimumSpace = 1034;

  explicit SetupTypePage(int nextPageId) : PicturePage(kPageId, nextPageId, kBackPageId) {}

  void NextPage() override;

 protected:
  bool ActivatePage() override;
  bool OnCommand(int id, int notifyCode) override;

 private:
  // Minimum or Typical: the space check, the groups of the type, its registry
  // selector and the type itself; then on.
  void ChooseFixedSet(SetupType type);
  void ChooseCustom();
};

// The registry selector of a setup type: the character with code 1 for
// Minimum, 2 for Typical and Custom.
std::string RegistrySelectorOf(SetupType type);
