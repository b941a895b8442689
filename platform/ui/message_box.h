#pragma once
// Message boxes: a modal dialog with a text, an icon and OK, OK/Cancel or
// Yes/No buttons (ids kIdOk, kIdCancel, kIdYes, kIdNo). A message box is an
// ordinary framework dialog, so unattended runs and the modal observer of the
// tests treat it like every other modal dialog.

#include <optional>
#include <string_view>

#include "platform/ui/dialog.h"

namespace platform::ui {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };

// The controls of a message box, for observers that read it.
inline constexpr int kMessageBoxTextId = 0xFFFF;
inline constexpr int kMessageBoxIconId = 20;

// Shows the box modally over owner (the screen when null) and returns the id of
// the button pressed. The first button is the default unless defaultButton
// names another of its ids. Escape answers kIdCancel where there is a Cancel
// button, and kIdNo for Yes/No.
int MessageBox(Window* owner, std::string_view text, std::string_view title, MessageButtons buttons,
               std::optional<SystemIcon> icon = std::nullopt, int defaultButton = 0);

}  // namespace platform::ui
