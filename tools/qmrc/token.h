#pragma once
// The smallest pieces of a script after its comments are gone.

#include <cstdint>
#include <string>
#include <vector>

#include "tools/qmrc/diagnostics.h"

namespace qmrc {

enum class TokenKind { kIdentifier, kNumber, kString, kPunctuator, kEnd };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::string text;          // identifier or punctuator spelling; a string's value (UTF-8, escapes resolved)
  std::uint32_t number = 0;  // a number's value
  SourceLocation where;

  bool IsPunctuator(const char* spelling) const { return kind == TokenKind::kPunctuator && text == spelling; }
  // Keywords of the script are identifiers compared ignoring case.
  bool IsKeyword(const char* keyword) const;
};

// The tokens of one line (the text of a line as ReadSourceLines gives it).
// Throws CompileError for an unterminated string, a malformed number or a
// character that no token starts with.
std::vector<Token> TokenizeLine(const std::string& line, const SourceLocation& where);

// How a token looks in a message: 'BEGIN', '42', "text" or end of input.
std::string Spelling(const Token& token);

}  // namespace qmrc
