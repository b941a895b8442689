#pragma once
// Key and value names as the registry compares them. Names are the program's
// bytes: Windows-1252 from the setup, or UTF-8 typed on the host's command
// line. Both compare ignoring the case of ASCII letters and of the Latin-1
// letters (U+00C0..U+00FE except the signs U+00D7 and U+00F7, with U+00FF and
// U+0178), plus the pairs Windows-1252 adds (S, O-E and Z with caron or
// ligature). Other letters compare as they are.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform::registry_detail {

// The name folded to upper case: equal folds mean the same name.
std::string FoldName(std::string_view name);

// Characters in name: code points when it is well-formed UTF-8, else bytes.
std::size_t NameLength(std::string_view name);

// Splits a subkey path at single backslashes. False when a component is empty
// (a leading, doubled or trailing backslash). An empty path gives no component.
bool SplitKeyPath(std::string_view path, std::vector<std::string_view>* components);

}  // namespace platform::registry_detail
