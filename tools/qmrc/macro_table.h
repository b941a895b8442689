#pragma once
// The names a script #defines, with the few that Windows' own headers give every script.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tools/qmrc/token.h"

namespace qmrc {

struct Macro {
  std::vector<Token> body;
  bool functionLike = false;  // accepted in headers, refused where a script uses it
  SourceLocation where;
};

class MacroTable {
 public:
  // Starts with RC_INVOKED, _WIN32 and the dialog and language ids that scripts
  // take from windows.h (IDOK, IDCANCEL, IDC_STATIC, LANG_ENGLISH, ...).
  MacroTable();

  void Define(const std::string& name, Macro macro) { macros_[name] = std::move(macro); }
  void Undefine(const std::string& name) { macros_.erase(name); }
  bool IsDefined(const std::string& name) const { return macros_.count(name) != 0; }

  // The tokens with every defined name replaced by its body, recursively; a name
  // inside its own expansion stays as it is (as the C preprocessor does).
  // Replacement tokens carry the location of the name they replace.
  std::vector<Token> Expand(const std::vector<Token>& tokens) const;

 private:
  void ExpandInto(const std::vector<Token>& tokens, std::set<std::string>& active,
                  const SourceLocation* useSite, std::vector<Token>& out) const;

  std::map<std::string, Macro> macros_;
};

}  // namespace qmrc
