#pragma once
// The states of the profile parser, one class per state; each overrides only
// the handlers its rows of the transition table name (see parser_states.cpp).

#include <string>

#include "profile/parser_state.h"

class StartState final : public ParserState {
 public:
  using ParserState::ParserState;
  ParserStatePtr OnPound(ParserStatePtr self) override;
  ParserStatePtr OnOpenBracket(ParserStatePtr self) override;
  ParserStatePtr OnSemicolon(ParserStatePtr self) override;
  ParserStatePtr OnLineFeed(ParserStatePtr self) override;
  ParserStatePtr OnFormFeed(ParserStatePtr self) override;
  ParserStatePtr OnNewLineToken(ParserStatePtr self) override;
};

// After "#": waits for the keyword "include".
class IncludeState final : public ParserState {
 public:
  using ParserState::ParserState;
  ParserStatePtr OnWord(ParserStatePtr self) override;
};

// After the keyword: waits for the opening quote of the file name.
class IncludeKeywordState final : public ParserState {
 public:
  using ParserState::ParserState;
  ParserStatePtr OnQuote(ParserStatePtr self) override;
};

class IncludeFilenameState final : public ParserState {
 public:
  using ParserState::ParserState;
  ParserStatePtr OnWord(ParserStatePtr self) override;
  ParserStatePtr OnSpace(ParserStatePtr self) override;
  ParserStatePtr OnQuote(ParserStatePtr self) override;
};

// Between "[" and "]".
class SectionState final : public ParserState {
 public:
  explicit SectionState(ParserContext& context);
  ParserStatePtr OnWord(ParserStatePtr self) override;
  ParserStatePtr OnCloseBracket(ParserStatePtr self) override;
};

// After "]": only blanks or a comment until the line ends.
class SectionFoundState final : public ParserState {
 public:
  using ParserState::ParserState;
  ParserStatePtr OnLineFeed(ParserStatePtr self) override;
  ParserStatePtr OnSemicolon(ParserStatePtr self) override;
};

// The first key of a section is expected.
class SectionKeyState final : public ParserState {
 public:
  using ParserState::ParserState;
  ParserStatePtr OnPound(ParserStatePtr self) override;
  ParserStatePtr OnSemicolon(ParserStatePtr self) override;
  ParserStatePtr OnWord(ParserStatePtr self) override;
};

// A key name was read; "=" must follow.
class SectionKeyFoundState final : public ParserState {
 public:
  using ParserState::ParserState;
  ParserStatePtr OnEquals(ParserStatePtr self) override;
};

// After "=": a single value, a quoted value, or the line end of a value list.
class SectionEqualState final : public ParserState {
 public:
  using ParserState::ParserState;
  ParserStatePtr OnWord(ParserStatePtr self) override;
  ParserStatePtr OnQuote(ParserStatePtr self) override;
  ParserStatePtr OnLineFeed(ParserStatePtr self) override;
  ParserStatePtr OnSemicolon(ParserStatePtr self) override;
};

// After a single value: only blanks or a comment until the line ends.
class SingleValueFoundState final : public ParserState {
 public:
  using ParserState::ParserState;
  ParserStatePtr OnLineFeed(ParserStatePtr self) override;
  ParserStatePtr OnSemicolon(ParserStatePtr self) override;
};

// The line after a single value: the next key or a section header.
class PostSingleValueFoundState final : public ParserState {
 public:
  using ParserState::ParserState;
  ParserStatePtr OnWord(ParserStatePtr self) override;
  ParserStatePtr OnOpenBracket(ParserStatePtr self) override;
  ParserStatePtr OnPound(ParserStatePtr self) override;
  ParserStatePtr OnSemicolon(ParserStatePtr self) override;
  ParserStatePtr OnLineFeed(ParserStatePtr self) override;
};

// Between double quotes: every token is kept literally, line ends are dropped.
class QuotedValueState : public ParserState {
 public:
  // Each quoted value starts empty, even when an earlier one was cut off by an error.
  explicit QuotedValueState(ParserContext& context);

  ParserStatePtr OnPound(ParserStatePtr self) override { return AppendToQuoted(std::move(self)); }
  ParserStatePtr OnOpenBracket(ParserStatePtr self) override { return AppendToQuoted(std::move(self)); }
  ParserStatePtr OnCloseBracket(ParserStatePtr self) override { return AppendToQuoted(std::move(self)); }
  ParserStatePtr OnTab(ParserStatePtr self) override { return AppendToQuoted(std::move(self)); }
  ParserStatePtr OnLineFeed(ParserStatePtr self) override { return self; }
  ParserStatePtr OnVerticalTab(ParserStatePtr self) override { return AppendToQuoted(std::move(self)); }
  ParserStatePtr OnFormFeed(ParserStatePtr self) override { return AppendToQuoted(std::move(self)); }
  ParserStatePtr OnSpace(ParserStatePtr self) override { return AppendToQuoted(std::move(self)); }
  ParserStatePtr OnEquals(ParserStatePtr self) override { return AppendToQuoted(std::move(self)); }
  ParserStatePtr OnSemicolon(ParserStatePtr self) override { return AppendToQuoted(std::move(self)); }
  ParserStatePtr OnUnknownCharacter(ParserStatePtr self) override { return OnError(std::move(self)); }
  ParserStatePtr OnWord(ParserStatePtr self) override { return AppendToQuoted(std::move(self)); }
  ParserStatePtr OnUnknownToken(ParserStatePtr self) override { return OnError(std::move(self)); }
  ParserStatePtr OnEndOfInput(ParserStatePtr self) override { return OnError(std::move(self)); }
  ParserStatePtr OnCarriageReturn(ParserStatePtr self) override { return self; }
  ParserStatePtr OnNewLineToken(ParserStatePtr self) override { return AppendToQuoted(std::move(self)); }

  // Appends the current token's text to the quoted value.
  virtual ParserStatePtr AppendToQuoted(ParserStatePtr self);
};

class QuotedSingleValueState final : public QuotedValueState {
 public:
  using QuotedValueState::QuotedValueState;
  ParserStatePtr OnQuote(ParserStatePtr self) override;
};

// The lines after a key whose line ended after "=": list members.
class ValueListState final : public ParserState {
 public:
  using ParserState::ParserState;
  ParserStatePtr OnWord(ParserStatePtr self) override;
  ParserStatePtr OnQuote(ParserStatePtr self) override;
  ParserStatePtr OnPound(ParserStatePtr self) override;
  ParserStatePtr OnSemicolon(ParserStatePtr self) override;
};

// A word on a list line: a member when the line ends, a key when "=" follows.
class ListValueFoundState final : public ParserState {
 public:
  using ParserState::ParserState;
  ParserStatePtr OnLineFeed(ParserStatePtr self) override;
  ParserStatePtr OnSemicolon(ParserStatePtr self) override;
  ParserStatePtr OnEquals(ParserStatePtr self) override;
};

class QuotedListValueState final : public QuotedValueState {
 public:
  using QuotedValueState::QuotedValueState;
  ParserStatePtr OnQuote(ParserStatePtr self) override;
};

// After a list member: further members, the next key, or a section header.
class PostListValueFoundState final : public ParserState {
 public:
  using ParserState::ParserState;
  ParserStatePtr OnWord(ParserStatePtr self) override;
  ParserStatePtr OnQuote(ParserStatePtr self) override;
  ParserStatePtr OnOpenBracket(ParserStatePtr self) override;
  ParserStatePtr OnPound(ParserStatePtr self) override;
  ParserStatePtr OnSemicolon(ParserStatePtr self) override;
  ParserStatePtr OnLineFeed(ParserStatePtr self) override;
};

// From ";" to the line end; then the comment return state is resumed.
class CommentState final : public ParserState {
 public:
  using ParserState::ParserState;
  ParserStatePtr OnWord(ParserStatePtr self) override { return AppendToComment(std::move(self)); }
  ParserStatePtr OnSpace(ParserStatePtr self) override { return AppendToComment(std::move(self)); }
  ParserStatePtr OnLineFeed(ParserStatePtr self) override;
  ParserStatePtr OnCarriageReturn(ParserStatePtr self) override { return OnLineFeed(std::move(self)); }

  // Every other token, end of input included, is ignored.
  ParserStatePtr OnPound(ParserStatePtr self) override { return self; }
  ParserStatePtr OnOpenBracket(ParserStatePtr self) override { return self; }
  ParserStatePtr OnCloseBracket(ParserStatePtr self) override { return self; }
  ParserStatePtr OnTab(ParserStatePtr self) override { return self; }
  ParserStatePtr OnVerticalTab(ParserStatePtr self) override { return self; }
  ParserStatePtr OnFormFeed(ParserStatePtr self) override { return self; }
  ParserStatePtr OnEquals(ParserStatePtr self) override { return self; }
  ParserStatePtr OnSemicolon(ParserStatePtr self) override { return self; }
  ParserStatePtr OnQuote(ParserStatePtr self) override { return self; }
  ParserStatePtr OnUnknownCharacter(ParserStatePtr self) override { return self; }
  ParserStatePtr OnUnknownToken(ParserStatePtr self) override { return self; }
  ParserStatePtr OnEndOfInput(ParserStatePtr self) override { return self; }
  ParserStatePtr OnNewLineToken(ParserStatePtr self) override { return self; }

 private:
  ParserStatePtr AppendToComment(ParserStatePtr self);

  std::string commentText_;
};
