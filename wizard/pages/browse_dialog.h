#pragma once
// The directory browse dialog (template 1536): the destination page and the
// custom options page let the user pick an install directory with it.

#include <optional>
#include <string>

namespace platform::ui {
class Window;
}

// Shows the dialog modal to owner, starting from startPath (a directory that
// may not exist yet). Returns the accepted location, or nothing when the user
// cancelled.
std::optional<std::string> BrowseForDirectory(platform::ui::Window& owner, const std::string& startPath);
