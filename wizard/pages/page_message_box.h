#pragma once
// The message a page shows when it keeps the user where they are: a string of
// the string table in a box with OK, titled with the application's title.

namespace platform::ui {
class Window;
}

// Page messages the plain pages share.
namespace page_message {
inline constexpr unsigned kNoSpaceOnDrive = 7;   // write-protected or full drive
inline constexpr unsigned kFloppyDrive = 26;     // a diskette or an empty removable drive
}  // namespace page_message

void ShowPageMessage(platform::ui::Window& page, unsigned stringId);
