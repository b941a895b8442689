#pragma once
// The "Available Drive Space" dialog (151): a drive of the machine picked from
// a list, with the space the custom choice needs and the space the picked
// drive has.

#include <cstdint>
#include <optional>

namespace platform::ui {
class Window;
}

// Shows the dialog modal to owner with currentDrive picked (either case; the
// first drive when the machine has no such drive). Returns the picked drive
// as an upper-case letter when the user pressed OK, nothing on Cancel.
std::optional<char> ChooseDriveSpace(platform::ui::Window& owner, char currentDrive, std::int64_t requiredBytes);
