#include "options/macro_substitution.h"

void ReplaceFirst(std::string& text, std::string_view find, std::string_view replacement) {
  if (find.empty()) return;
  const std::size_t at = text.find(find);
  if (at != std::string::npos) text.replace(at, find.size(), replacement);
}

std::string Substitute(std::string text, const MacroTable& table, UserMessages& messages) {
  // Each pass replaces only the first occurrence of each name, and a value may
  // bring in further macros, so passes repeat while any "@" is left. An "@" that
  // starts no macro name never goes away: that ends in the message.
  int passes = 0;
  while (text.find('@') != std::string::npos) {
    if (++passes > kMaxSubstitutionPasses) {
      messages.ShowMessage(kMacroErrorPrefix + text);
      return text;
    }
    for (const Macro& macro : table) ReplaceFirst(text, macro.name, macro.value);
  }

  passes = 0;
  while (text.find("''") != std::string::npos) {
    if (++passes > kMaxSubstitutionPasses) {
      messages.ShowMessage(kQuoteErrorMessage);
      break;
    }
    ReplaceFirst(text, "''", "\"");
  }
  return text;
}
