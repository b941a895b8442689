#pragma once
// The space lines of the setup type, custom options and drive space windows:
// "Space Required:" or "Space Available:", a separator, and the bytes in
// megabytes of 1,024,000 ("Space Required: 12MB").

#include <cstdint>
#include <string>
#include <string_view>

// What the pages put between the label and the number.
inline constexpr std::string_view kSpaceBlank = " ";
inline constexpr std::string_view kSpaceTab = "\t ";

std::string SpaceRequiredText(std::string_view separator, std::int64_t bytes);
std::string SpaceAvailableText(std::string_view separator, std::int64_t bytes);
