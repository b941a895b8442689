#pragma once
// Walks a token list for the parsers, with the checks every statement repeats.

#include <string>
#include <vector>

#include "tools/qmrc/token.h"

namespace qmrc {

class TokenCursor {
 public:
  explicit TokenCursor(const std::vector<Token>& tokens);

  // The token `ahead` places on; an end token (at the last token's place) past the end.
  const Token& Peek(size_t ahead = 0) const;
  const Token& Next();
  bool AtEnd() const { return position_ >= tokens_.size(); }

  bool TakePunctuator(const char* spelling);
  bool TakeKeyword(const char* keyword);
  // BEGIN or "{"; END or "}".
  bool AtBlockStart() const;
  bool AtBlockEnd() const;

  // Takes the punctuator or throws "expected ',' after <what>".
  void Expect(const char* spelling, const std::string& after);

  // Throws CompileError at the token under the cursor (at the last token when
  // the input has ended).
  [[noreturn]] void Fail(const std::string& message) const;
  // The same for something left out: when the token under the cursor stands on a
  // later line than the one before it, the message goes to the earlier line,
  // where the missing piece belongs.
  [[noreturn]] void FailMissing(const std::string& message) const;

 private:
  const std::vector<Token>& tokens_;
  size_t position_ = 0;
  Token end_;
};

}  // namespace qmrc
