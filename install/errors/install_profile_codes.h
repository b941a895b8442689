#pragma once
// Codes of CInstallProfileException. Every code shows the same texts (strings
// 10 and 13); the code tells the faults apart in the report's last line.

#include <cstdint>

namespace install_profile_code {
inline constexpr std::int32_t kNoDestinations = 1;          // "destinations" has no line
inline constexpr std::int32_t kUnresolvedDestinations = 2;  // a parent missing, or parents in a cycle
inline constexpr std::int32_t kDiskOutOfRange = 3;          // a disk number without a diskette label
}  // namespace install_profile_code
