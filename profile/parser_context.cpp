#include "profile/parser_context.h"

#include "profile/parser_state.h"

ParserContext::ParserContext(ProfileFile& parseTarget) : target(parseTarget) {}

// Out of line: the kept states need ParserState complete to be destroyed.
ParserContext::~ParserContext() = default;

void ParserContext::AddError(std::string line) {
  if (!ReserveErrorText(line.size())) return;
  diagnostics.errors.push_back(std::move(line));
}

void ParserContext::AddErrorAtCurrentToken() {
  std::string prefix = "Line " + std::to_string(currentToken.LineNumber()) + "-> ";
  // Checked before the line is copied: past the budget a long line is not copied again per token.
  if (!ReserveErrorText(prefix.size() + currentToken.Line().size())) return;
  diagnostics.errors.push_back(std::move(prefix) + currentToken.Line());
}

bool ParserContext::ReserveErrorText(std::size_t size) {
  if (errorListFull_) return false;
  if (size > kErrorTextBudget - errorTextSize_) {
    errorListFull_ = true;
    diagnostics.errors.push_back(kErrorListFull);
    return false;
  }
  errorTextSize_ += size;
  return true;
}
