#include "tools/qmrc/macro_table.h"

namespace qmrc {
namespace {

struct Predefined {
  const char* name;
  const char* body;
};

constexpr Predefined kPredefined[] = {
    {"RC_INVOKED", "1"},      {"_WIN32", "1"},           {"IDOK", "1"},
    {"IDCANCEL", "2"},        {"IDABORT", "3"},          {"IDRETRY", "4"},
    {"IDIGNORE", "5"},        {"IDYES", "6"},            {"IDNO", "7"},
    {"IDCLOSE", "8"},         {"IDHELP", "9"},           {"IDC_STATIC", "(-1)"},
    {"VS_VERSION_INFO", "1"}, {"LANG_NEUTRAL", "0x00"},  {"LANG_ENGLISH", "0x09"},
    {"SUBLANG_NEUTRAL", "0x00"}, {"SUBLANG_DEFAULT", "0x01"}, {"SUBLANG_ENGLISH_US", "0x01"},
    {"SUBLANG_ENGLISH_UK", "0x02"},
};

}  // namespace

MacroTable::MacroTable() {
  const SourceLocation builtIn{"<built-in>", 0};
  for (const Predefined& entry : kPredefined) {
    Define(entry.name, Macro{TokenizeLine(entry.body, builtIn), false, builtIn});
  }
}

std::vector<Token> MacroTable::Expand(const std::vector<Token>& tokens) const {
  std::vector<Token> out;
  std::set<std::string> active;
  ExpandInto(tokens, active, nullptr, out);
  return out;
}

void MacroTable::ExpandInto(const std::vector<Token>& tokens, std::set<std::string>& active,
                            const SourceLocation* useSite, std::vector<Token>& out) const {
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& token = tokens[i];
    auto found = token.kind == TokenKind::kIdentifier ? macros_.find(token.text) : macros_.end();
    if (found == macros_.end() || active.count(token.text) != 0) {
      out.push_back(token);
      if (useSite != nullptr) out.back().where = *useSite;
      continue;
    }
    const Macro& macro = found->second;
    const SourceLocation& site = useSite != nullptr ? *useSite : token.where;
    if (macro.functionLike) {
      if (i + 1 < tokens.size() && tokens[i + 1].IsPunctuator("(")) {
        throw CompileError(site, "function-like macro '" + token.text + "' cannot be used in a resource script");
      }
      out.push_back(token);
      continue;
    }
    active.insert(token.text);
    ExpandInto(macro.body, active, &site, out);
    active.erase(token.text);
  }
}

}  // namespace qmrc
