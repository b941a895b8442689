// DOS wildcard matching. The rules are those of the Windows NT file systems,
// which turn the pattern into these tokens:
//   "*" before "." : any run that does not take the name's last dot
//   "*" elsewhere  : any run
//   "?"            : one character; none at a dot or at the end of the name
//   "." before "?", "*" or the end : a dot, or nothing at the end of the name
// so "*.TXT" needs the last extension to be TXT, "A?C.*" also finds "ABC",
// and "*." finds the names without an extension.

#include <vector>

#include "platform/fs/find.h"

namespace platform {
namespace {

enum class Token : char { Literal, Star, StarBeforeDot, Question, DotOrEnd };

struct PatternItem {
  Token token;
  char literal;
};

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::vector<PatternItem> Tokenize(std::string_view pattern) {
  std::vector<PatternItem> items;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
    if (c == '*') {
      items.push_back({next == '.' ? Token::StarBeforeDot : Token::Star, 0});
    } else if (c == '?') {
      items.push_back({Token::Question, 0});
    } else if (c == '.' && (next == '?' || next == '*' || next == '\0')) {
      items.push_back({Token::DotOrEnd, 0});
    } else {
      items.push_back({Token::Literal, FoldAscii(c)});
    }
  }
  return items;
}

}  // namespace

bool MatchesDosWildcard(std::string_view pattern, std::string_view name) {
  if (pattern == "*" || pattern == "*.*") return true;
  const std::vector<PatternItem> items = Tokenize(pattern);
  const std::size_t t = items.size();
  const std::size_t n = name.size();
  const std::size_t lastDot = name.rfind('.');

  // matches[p * (n + 1) + i]: items[p..] match name[i..]. Filled from the end,
  // so every case is decided once: linear in pattern times name, never exponential.
  std::vector<char> matches((t + 1) * (n + 1), 0);
  const auto at = [&](std::size_t p, std::size_t i) -> char& { return matches[p * (n + 1) + i]; };
  at(t, n) = 1;
  for (std::size_t p = t; p-- > 0;) {
    for (std::size_t i = n + 1; i-- > 0;) {
      const bool more = i < n;
      const char c = more ? name[i] : '\0';
      bool result = false;
      switch (items[p].token) {
        case Token::Literal:
          result = more && FoldAscii(c) == items[p].literal && at(p + 1, i + 1);
          break;
        case Token::Star:
          result = at(p + 1, i) || (more && at(p, i + 1));
          break;
        case Token::StarBeforeDot:
          result = at(p + 1, i) || (more && i != lastDot && at(p, i + 1));
          break;
        case Token::Question:
          result = (!more || c == '.') ? at(p + 1, i) : at(p + 1, i + 1);
          break;
        case Token::DotOrEnd:
          result = more ? (c == '.' && at(p + 1, i + 1)) : at(p + 1, i);
          break;
      }
      at(p, i) = result ? 1 : 0;
    }
  }
  return at(0, 0) != 0;
}

}  // namespace platform
