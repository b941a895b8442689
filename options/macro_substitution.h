#pragma once
// Macro substitution in registry data and command lines: the macros of the
// table are replaced pass by pass until no "@" is left, then each "''" becomes
// one double quote. Both steps give up after 100 rounds with a message; the
// text as it stands then is the result.

#include <string>
#include <string_view>

#include "options/macro_table.h"
#include "options/user_messages.h"

// Replaces the first occurrence of find in text, if any. An empty find
// changes nothing.
void ReplaceFirst(std::string& text, std::string_view find, std::string_view replacement);

std::string Substitute(std::string text, const MacroTable& table, UserMessages& messages);

// The most passes of either step before it gives up.
inline constexpr int kMaxSubstitutionPasses = 100;

inline constexpr const char* kMacroErrorPrefix = "Error in macro in line -> ";
inline constexpr const char* kQuoteErrorMessage =
    "Error substituting two single quotes for one double quote";
