#pragma once
// How the setup profile turns a value text into a number or a flag. The option
// records read their numbers and flags the same way as the interface settings.

#include <cstdint>
#include <string_view>

// Optional leading white space and sign, then decimal digits up to the first
// non-digit; 0 when there are none. A value beyond the 32-bit range is clamped
// to it, as the 32-bit runtime's conversion does, instead of wrapping.
int32_t ReadLeadingDecimal(std::string_view text);

// A flag is on only for the text "true", in any letter case.
bool ReadFlag(std::string_view text);
