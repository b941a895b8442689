#pragma once
// The file-copy delay that the "Doruror Settings" dialog sets: a typed value is
// kept between 5 and 50; "No" turns the delay off.

#include <string_view>

namespace copy_delay {
inline constexpr int kLowest = 5;
inline constexpr int kHighest = 50;
inline constexpr int kOff = 0;
}  // namespace copy_delay

// The delay for the text typed into the dialog, read as a decimal number from
// its leading digits (no digits read as 0, which becomes the lowest value).
int CopyDelayFromText(std::string_view text);
