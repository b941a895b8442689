#include "profile/parser_context.h"

#include "profile/parser_state.h"

ParserContext::ParserContext(ProfileFile& parseTarget) : target(parseTarget) {}

// Out of line: the kept states need ParserState complete to be destroyed.
ParserContext::~ParserContext() = default;

void ParserContext::AddError(std::string line) {
  if (errorListFull_) return;
  if (errorTextSize_ + line.size() > kErrorTextBudget) {
    errorListFull_ = true;
    diagnostics.errors.push_back("Further errors not recorded: the error list is full");
    return;
  }
  errorTextSize_ += line.size();
  diagnostics.errors.push_back(std::move(line));
}

void ParserContext::AddErrorAtCurrentToken() {
  AddError("Line " + std::to_string(currentToken.LineNumber()) + "-> " + currentToken.Line());
}
