#pragma once
// The "Insert Diskette" dialog (113): the prompt's line in control 1026, OK and
// Cancel.

#include "install/copy/copy_user_interface.h"

namespace platform::ui {
class Window;
}

// Shows the prompt modal to owner; true for OK, false for Cancel (and Escape).
bool AskForDisketteDialog(platform::ui::Window* owner, const DiskettePrompt& prompt);
