#pragma once
// The message a page shows when it keeps the user where they are: a string of
// the string table in a box with OK, titled with the application's title.

namespace platform::ui {
class Window;
}

namespace page_message {
inline constexpr unsigned kNoSpaceOnDrive = 7;  // write-protected or full drive
inline constexpr unsigned kFloppyDrive = 26;    // a diskette or an empty removable drive
inline constexpr unsigned kNothingTicked = 28;  // no group chosen on the custom page
}  // namespace page_message

void ShowPageMessage(platform::ui::Window& page, unsigned stringId);
