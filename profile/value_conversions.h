#pragma once
// How the setup profile turns a value text into a flag. The option records read
// their flags the same way as the interface settings; numbers are read with
// platform::ReadDecimalLong.

#include <string_view>

// A flag is on only for the text "true", in any letter case.
bool ReadFlag(std::string_view text);
