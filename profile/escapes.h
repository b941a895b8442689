#pragma once
// Escapes in profile texts: "\n" a line feed, "\t" a tab, "\\" one backslash.
// Any other escaped character keeps its backslash; a backslash at the very end
// is dropped.

#include <string>
#include <string_view>

std::string ExpandEscapes(std::string_view text);
