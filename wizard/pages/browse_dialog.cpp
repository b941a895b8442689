#include "wizard/pages/browse_dialog.h"

std::optional<std::string> BrowseForDirectory(platform::ui::Window&, const std::string&) { return std::nullopt; }
