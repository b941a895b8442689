#include "tools/qmrc/token_cursor.h"

namespace qmrc {

TokenCursor::TokenCursor(const std::vector<Token>& tokens) : tokens_(tokens) {
  if (!tokens.empty()) end_.where = tokens.back().where;
}

const Token& TokenCursor::Peek(size_t ahead) const {
  return position_ + ahead < tokens_.size() ? tokens_[position_ + ahead] : end_;
}

const Token& TokenCursor::Next() {
  const Token& token = Peek();
  if (position_ < tokens_.size()) ++position_;
  return token;
}

bool TokenCursor::TakePunctuator(const char* spelling) {
  if (!Peek().IsPunctuator(spelling)) return false;
  Next();
  return true;
}

bool TokenCursor::TakeKeyword(const char* keyword) {
  if (!Peek().IsKeyword(keyword)) return false;
  Next();
  return true;
}

bool TokenCursor::AtBlockStart() const { return Peek().IsKeyword("BEGIN") || Peek().IsPunctuator("{"); }
bool TokenCursor::AtBlockEnd() const { return Peek().IsKeyword("END") || Peek().IsPunctuator("}"); }

void TokenCursor::Expect(const char* spelling, const std::string& after) {
  if (TakePunctuator(spelling)) return;
  FailMissing(std::string("expected '") + spelling + "' after " + after + ", found " + Spelling(Peek()));
}

void TokenCursor::Fail(const std::string& message) const { throw CompileError(Peek().where, message); }

void TokenCursor::FailMissing(const std::string& message) const {
  const Token& here = Peek();
  if (position_ > 0 && position_ <= tokens_.size()) {
    const Token& before = tokens_[position_ - 1];
    if (here.kind == TokenKind::kEnd || before.where.file != here.where.file || before.where.line < here.where.line) {
      throw CompileError(before.where, message);
    }
  }
  throw CompileError(here.where, message);
}

}  // namespace qmrc
