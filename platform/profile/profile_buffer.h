#pragma once
// How the private-profile read functions hand their answers to a caller's
// fixed-size character buffer, and how they read a number.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Copies text cut to size - 1 characters and a terminating NUL; returns the
// characters copied. A size of 0 copies nothing.
std::size_t CopyTextToBuffer(std::string_view text, char* buffer, std::size_t size);

// Copies names as a list: each name NUL-terminated, the list ended by an empty
// name ("a\0b\0\0"), and returns its length without the final NUL (an empty
// list is "\0\0" and gives 0). A list that does not fit is cut after the last
// name that fits whole, so a caller never sees part of a name as a name; the
// rest of the buffer is NULs and size - 2 is returned, which tells the caller
// to try again with a larger buffer. A list that fits exactly also returns
// size - 2, as on Windows: such a caller simply asks once more.
std::size_t CopyNameListToBuffer(const std::vector<std::string>& names, char* buffer, std::size_t size);

// The value without one pair of matching quotes (' or ") around the whole of it.
std::string_view StripQuotes(std::string_view value);

// The leading decimal digits, after an optional sign, as a 32-bit number
// (wrapping like the Windows function; a negative number comes out as its two's
// complement). Text without digits gives 0.
unsigned ParseProfileInt(std::string_view text);

}  // namespace platform
