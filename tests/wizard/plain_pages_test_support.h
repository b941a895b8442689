#pragma once
// What the tests of the plain pages share: a machine with staged drives, and
// the user's own gestures on lists (the program's own changes notify nothing).

#include <QComboBox>
#include <QListWidget>

#include <string>
#include <vector>

#include "platform/machine/machine.h"
#include "platform/ui/dialog.h"
#include "wizard/wizard_page.h"

namespace qmtest {

// Remakes the test machine with the win95 defaults plus drives, given as in
// system.ini: {'A', "removable,drive_a,total=1474560"}.
inline void StageDrives(const std::filesystem::path& root,
                        const std::vector<std::pair<char, std::string>>& drives,
                        platform::PlatformKind kind = platform::PlatformKind::Win95) {
  platform::MachineConfig config = platform::MachineConfig::Defaults(kind);
  for (const auto& [letter, text] : drives) config.drives.push_back(platform::ParseDriveSpec(letter, text));
  platform::Machine::Create(root, config);
  platform::UseMachine(root);
}

inline std::vector<std::string> ListTexts(const platform::ui::Dialog& dialog, int id) {
  std::vector<std::string> texts;
  for (int i = 0; i < dialog.ListCount(id); ++i) texts.push_back(dialog.ListText(id, i));
  return texts;
}

// A click on a list box entry, or a pick in a combo box, as a person makes it.
inline void UserSelects(platform::ui::Dialog& dialog, int id, int index) {
  if (auto* list = qobject_cast<QListWidget*>(dialog.Item(id))) {
    list->setCurrentRow(index);
  } else if (auto* combo = qobject_cast<QComboBox*>(dialog.Item(id))) {
    combo->setCurrentIndex(index);
  }
}

inline void UserDoubleClicks(platform::ui::Dialog& dialog, int id, int index) {
  auto* list = qobject_cast<QListWidget*>(dialog.Item(id));
  list->setCurrentRow(index);
  emit list->itemDoubleClicked(list->item(index));
}

inline void Next(WizardPage& page) { page.Click(page_control::kNext); }

}  // namespace qmtest
