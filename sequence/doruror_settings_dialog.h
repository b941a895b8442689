#pragma once
// The "Doruror Settings" question (dialog 143), asked before the first file is
// copied: "Yes" keeps the delay typed into edit 1036 (5 to 50), "No" and Escape
// turn it off. "No" is the default, so a batch run answers it.

class SetupSettings;

namespace platform::ui {
class Window;
}

// Shows the dialog modal over owner and stores the answer in settings.
void AskDorurorSettings(platform::ui::Window* owner, SetupSettings& settings);
