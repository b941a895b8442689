#pragma once
// The pages' messages to the user: a string of the string table in a box with
// OK, titled with the application's title. The user then stays on the page.

namespace platform::ui {
class Window;
}

void ShowPageMessage(platform::ui::Window& page, unsigned stringId);
