#pragma once
// The base of the states of the profile parser. The driver hands each token to
// the current state's handler for it, and the handler returns the state for
// the next token.
//
// Each handler is given its own state's ownership (self) and decides what
// becomes of it: it stays current (return self), it is kept to be resumed after
// a comment or an include (self handed to the context), or it is left (another
// state returned; self is destroyed with the call).

#include <memory>

#include "profile/parser_context.h"

class ParserState {
 public:
  explicit ParserState(ParserContext& context) : context_(context) {}
  virtual ~ParserState() = default;
  ParserState(const ParserState&) = delete;
  ParserState& operator=(const ParserState&) = delete;

  // The handlers in their slot order. Defaults: whitespace and line feed are
  // ignored; end of input, carriage return and the (never handed out) line-end
  // token act as this state's line feed; everything else is an error.
  virtual ParserStatePtr OnPound(ParserStatePtr self);              // 1  "#"
  virtual ParserStatePtr OnOpenBracket(ParserStatePtr self);        // 2  "["
  virtual ParserStatePtr OnCloseBracket(ParserStatePtr self);       // 3  "]"
  virtual ParserStatePtr OnTab(ParserStatePtr self);                // 4
  virtual ParserStatePtr OnLineFeed(ParserStatePtr self);           // 5
  virtual ParserStatePtr OnVerticalTab(ParserStatePtr self);        // 6
  virtual ParserStatePtr OnFormFeed(ParserStatePtr self);           // 7
  virtual ParserStatePtr OnSpace(ParserStatePtr self);              // 8
  virtual ParserStatePtr OnEquals(ParserStatePtr self);             // 9  "="
  virtual ParserStatePtr OnSemicolon(ParserStatePtr self);          // 10 ";"
  virtual ParserStatePtr OnQuote(ParserStatePtr self);              // 11 the double quote
  virtual ParserStatePtr OnUnknownCharacter(ParserStatePtr self);   // 12
  virtual ParserStatePtr OnWord(ParserStatePtr self);               // 13
  virtual ParserStatePtr OnUnknownToken(ParserStatePtr self);       // 14
  // 15: records the error line and goes on in a new Start state; self is discarded.
  virtual ParserStatePtr OnError(ParserStatePtr self);
  virtual ParserStatePtr OnReserved(ParserStatePtr self);           // 16 returns self
  virtual ParserStatePtr OnEndOfInput(ParserStatePtr self);         // 17
  virtual ParserStatePtr OnCarriageReturn(ParserStatePtr self);     // 18
  virtual ParserStatePtr OnNewLineToken(ParserStatePtr self);       // 19 kind 2

 protected:
  ParserContext& Context() const { return context_; }
  const CItoken& Token() const { return context_.currentToken; }

  // A move to another state, recorded in the trace ("x" unless told otherwise).
  ParserStatePtr ChangeTo(ParserStatePtr next, const char* traceLine = "x");
  template <class State>
  ParserStatePtr ChangeTo() {
    return ChangeTo(std::make_unique<State>(context_));
  }
  // Comment (return X) and Include (return X): X is kept until the comment
  // ends or the included file is read.
  ParserStatePtr ToComment(ParserStatePtr returnState);
  ParserStatePtr ToInclude(ParserStatePtr returnState, const char* traceLine = "x");

 private:
  ParserContext& context_;
};
