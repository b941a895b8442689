#pragma once
// The C runtime's decimal reading of a long as the 32-bit Windows runtime does
// it: white space (blank, tab, line feed, vertical tab, form feed, carriage
// return), at most one sign, then digits up to the first non-digit. Text
// without digits right there ("abc", "", "- 5", "+-5") is 0. A number beyond the
// 32-bit range stops at its largest or smallest value instead of wrapping, so a
// long run of digits can never turn into some other valid number. Profile
// values, registry data, install log fields and switches are all read this way.

#include <cstdint>
#include <string_view>

namespace platform {

std::int32_t ReadDecimalLong(std::string_view text);

}  // namespace platform
