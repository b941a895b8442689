#include "profile/parser_state.h"

#include "profile/parser_states.h"

// Whitespace and line feed: ignored.
ParserStatePtr ParserState::OnTab(ParserStatePtr self) { return self; }
ParserStatePtr ParserState::OnLineFeed(ParserStatePtr self) { return self; }
ParserStatePtr ParserState::OnVerticalTab(ParserStatePtr self) { return self; }
ParserStatePtr ParserState::OnFormFeed(ParserStatePtr self) { return self; }
ParserStatePtr ParserState::OnSpace(ParserStatePtr self) { return self; }

// End of input, carriage return and the line-end token: as this state's line feed.
ParserStatePtr ParserState::OnEndOfInput(ParserStatePtr self) { return OnLineFeed(std::move(self)); }
ParserStatePtr ParserState::OnCarriageReturn(ParserStatePtr self) { return OnLineFeed(std::move(self)); }
ParserStatePtr ParserState::OnNewLineToken(ParserStatePtr self) { return OnLineFeed(std::move(self)); }

// Everything else: a grammar error.
ParserStatePtr ParserState::OnPound(ParserStatePtr self) { return OnError(std::move(self)); }
ParserStatePtr ParserState::OnOpenBracket(ParserStatePtr self) { return OnError(std::move(self)); }
ParserStatePtr ParserState::OnCloseBracket(ParserStatePtr self) { return OnError(std::move(self)); }
ParserStatePtr ParserState::OnEquals(ParserStatePtr self) { return OnError(std::move(self)); }
ParserStatePtr ParserState::OnSemicolon(ParserStatePtr self) { return OnError(std::move(self)); }
ParserStatePtr ParserState::OnQuote(ParserStatePtr self) { return OnError(std::move(self)); }
ParserStatePtr ParserState::OnUnknownCharacter(ParserStatePtr self) { return OnError(std::move(self)); }
ParserStatePtr ParserState::OnWord(ParserStatePtr self) { return OnError(std::move(self)); }
ParserStatePtr ParserState::OnUnknownToken(ParserStatePtr self) { return OnError(std::move(self)); }

ParserStatePtr ParserState::OnError(ParserStatePtr /*self: discarded*/) {
  context_.AddErrorAtCurrentToken();
  return ChangeTo<StartState>();
}

ParserStatePtr ParserState::OnReserved(ParserStatePtr self) { return self; }

ParserStatePtr ParserState::ChangeTo(ParserStatePtr next, const char* traceLine) {
  context_.AddTrace(traceLine);
  return next;
}

ParserStatePtr ParserState::ToComment(ParserStatePtr returnState) {
  context_.commentReturnState = std::move(returnState);
  return ChangeTo<CommentState>();
}

ParserStatePtr ParserState::ToInclude(ParserStatePtr returnState, const char* traceLine) {
  context_.includeReturnState = std::move(returnState);
  return ChangeTo(std::make_unique<IncludeState>(context_), traceLine);
}
