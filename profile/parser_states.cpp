// The transition table of the profile parser, row by row in its order. Tokens a
// state does not handle here take the defaults of ParserState.

#include "profile/parser_states.h"

#include "profile/profile_parser.h"

namespace {

bool IsIncludeKeyword(const std::string& word) { return ProfileNamesEqual(word, "include"); }

}  // namespace

// --- Start ---------------------------------------------------------------

ParserStatePtr StartState::OnPound(ParserStatePtr self) {
  return ToInclude(std::move(self), "*** State change - Start -> Include via pound character");
}

ParserStatePtr StartState::OnOpenBracket(ParserStatePtr /*self*/) {
  return ChangeTo(std::make_unique<SectionState>(Context()), "*** State change - Start -> Section via open brace");
}

ParserStatePtr StartState::OnSemicolon(ParserStatePtr self) { return ToComment(std::move(self)); }

ParserStatePtr StartState::OnLineFeed(ParserStatePtr self) { return self; }
ParserStatePtr StartState::OnFormFeed(ParserStatePtr self) { return self; }
ParserStatePtr StartState::OnNewLineToken(ParserStatePtr self) { return self; }

// --- Include, Include Keyword, Include Filename --------------------------

ParserStatePtr IncludeState::OnWord(ParserStatePtr self) {
  if (!IsIncludeKeyword(Token().Text())) return OnError(std::move(self));
  Context().includeFileName.clear();
  return ChangeTo<IncludeKeywordState>();
}

ParserStatePtr IncludeKeywordState::OnQuote(ParserStatePtr /*self*/) { return ChangeTo<IncludeFilenameState>(); }

ParserStatePtr IncludeFilenameState::OnWord(ParserStatePtr self) {
  Context().includeFileName += Token().Text();
  return self;
}

ParserStatePtr IncludeFilenameState::OnSpace(ParserStatePtr self) {
  Context().includeFileName += Token().Text();
  return self;
}

ParserStatePtr IncludeFilenameState::OnQuote(ParserStatePtr /*self*/) {
  ParserContext& context = Context();
  // The included file starts in the state that was current at the "#".
  ParserStatePtr resumed = std::move(context.includeReturnState);
  if (!resumed) resumed = std::make_unique<StartState>(context);
  // A copy: includes inside the file collect their names in the same place.
  const std::string fileName = context.includeFileName;
  return ChangeTo(RunParser(context, fileName, std::move(resumed)));
}

// --- Section, Section Found ----------------------------------------------

// A header that an error cut short leaves no characters behind for the next one.
SectionState::SectionState(ParserContext& context) : ParserState(context) { context.sectionName.clear(); }

ParserStatePtr SectionState::OnWord(ParserStatePtr self) {
  Context().sectionName += Token().Text();
  return self;
}

ParserStatePtr SectionState::OnCloseBracket(ParserStatePtr /*self*/) {
  ParserContext& context = Context();
  context.target.AddSection(context.sectionName);
  context.AddFoundItem("Section Name\t->" + context.sectionName);
  context.sectionName.clear();
  return ChangeTo<SectionFoundState>();
}

ParserStatePtr SectionFoundState::OnLineFeed(ParserStatePtr /*self*/) { return ChangeTo<SectionKeyState>(); }

ParserStatePtr SectionFoundState::OnSemicolon(ParserStatePtr /*self*/) {
  return ToComment(std::make_unique<SectionKeyState>(Context()));
}

// --- Section Key, Section Key Found, Section Equal -----------------------

ParserStatePtr SectionKeyState::OnPound(ParserStatePtr self) { return ToInclude(std::move(self)); }

ParserStatePtr SectionKeyState::OnSemicolon(ParserStatePtr self) { return ToComment(std::move(self)); }

ParserStatePtr SectionKeyState::OnWord(ParserStatePtr /*self*/) {
  Context().pendingWord = Token().Text();
  return ChangeTo<SectionKeyFoundState>();
}

ParserStatePtr SectionKeyFoundState::OnEquals(ParserStatePtr /*self*/) {
  ParserContext& context = Context();
  context.target.AddKey(context.pendingWord);
  context.AddFoundItem("Found key \t->" + context.pendingWord);
  context.pendingWord.clear();
  return ChangeTo<SectionEqualState>();
}

ParserStatePtr SectionEqualState::OnWord(ParserStatePtr /*self*/) {
  ParserContext& context = Context();
  context.target.AddValue(Token().Text());
  context.AddFoundItem("Found single value \t->" + Token().Text());
  return ChangeTo<SingleValueFoundState>();
}

ParserStatePtr SectionEqualState::OnQuote(ParserStatePtr /*self*/) {
  Context().quotedValue.clear();
  return ChangeTo<QuotedSingleValueState>();
}

ParserStatePtr SectionEqualState::OnLineFeed(ParserStatePtr /*self*/) { return ChangeTo<ValueListState>(); }

ParserStatePtr SectionEqualState::OnSemicolon(ParserStatePtr /*self*/) {
  return ToComment(std::make_unique<ValueListState>(Context()));
}

// --- Single Value Found, Post Single Value Found -------------------------

ParserStatePtr SingleValueFoundState::OnLineFeed(ParserStatePtr /*self*/) {
  return ChangeTo<PostSingleValueFoundState>();
}

ParserStatePtr SingleValueFoundState::OnSemicolon(ParserStatePtr /*self*/) {
  return ToComment(std::make_unique<PostSingleValueFoundState>(Context()));
}

ParserStatePtr PostSingleValueFoundState::OnWord(ParserStatePtr /*self*/) {
  Context().pendingWord = Token().Text();
  return ChangeTo<SectionKeyFoundState>();
}

ParserStatePtr PostSingleValueFoundState::OnOpenBracket(ParserStatePtr /*self*/) { return ChangeTo<SectionState>(); }

ParserStatePtr PostSingleValueFoundState::OnPound(ParserStatePtr self) { return ToInclude(std::move(self)); }

ParserStatePtr PostSingleValueFoundState::OnSemicolon(ParserStatePtr self) { return ToComment(std::move(self)); }

ParserStatePtr PostSingleValueFoundState::OnLineFeed(ParserStatePtr self) { return self; }

// --- Quoted Single Value (and the shared quoted base) --------------------

QuotedValueState::QuotedValueState(ParserContext& context) : ParserState(context) { context.quotedValue.clear(); }

ParserStatePtr QuotedValueState::AppendToQuoted(ParserStatePtr self) {
  Context().quotedValue += Token().Text();
  return self;
}

ParserStatePtr QuotedSingleValueState::OnQuote(ParserStatePtr /*self*/) {
  ParserContext& context = Context();
  context.target.AddValue(context.quotedValue);
  context.AddFoundItem("Found quoted single value\t->" + context.quotedValue);
  context.quotedValue.clear();
  return ChangeTo<SingleValueFoundState>();
}

// --- Value List, List Value Found, Quoted List Value ---------------------

ParserStatePtr ValueListState::OnWord(ParserStatePtr /*self*/) {
  Context().pendingWord = Token().Text();
  return ChangeTo<ListValueFoundState>();
}

ParserStatePtr ValueListState::OnQuote(ParserStatePtr /*self*/) { return ChangeTo<QuotedListValueState>(); }

ParserStatePtr ValueListState::OnPound(ParserStatePtr self) { return ToInclude(std::move(self)); }

ParserStatePtr ValueListState::OnSemicolon(ParserStatePtr self) { return ToComment(std::move(self)); }

namespace {

void AddListMember(ParserContext& context) {
  context.target.AddValue(context.pendingWord);
  context.AddFoundItem("Found value list member\t->" + context.pendingWord);
}

}  // namespace

ParserStatePtr ListValueFoundState::OnLineFeed(ParserStatePtr /*self*/) {
  AddListMember(Context());
  return ChangeTo<PostListValueFoundState>();
}

ParserStatePtr ListValueFoundState::OnSemicolon(ParserStatePtr /*self*/) {
  AddListMember(Context());
  return ToComment(std::make_unique<PostListValueFoundState>(Context()));
}

ParserStatePtr ListValueFoundState::OnEquals(ParserStatePtr /*self*/) {
  ParserContext& context = Context();
  // The word was the next key, not a member.
  context.target.AddKey(context.pendingWord);
  context.AddFoundItem("Found key\t->" + context.pendingWord);
  return ChangeTo<SectionEqualState>();
}

ParserStatePtr QuotedListValueState::OnQuote(ParserStatePtr /*self*/) {
  ParserContext& context = Context();
  context.target.AddValue(context.quotedValue);
  context.AddFoundItem("Found key\t->" + context.quotedValue);
  context.quotedValue.clear();
  return ChangeTo<PostListValueFoundState>();
}

// --- Post List Value Found -----------------------------------------------

ParserStatePtr PostListValueFoundState::OnWord(ParserStatePtr /*self*/) {
  Context().pendingWord = Token().Text();
  return ChangeTo<ListValueFoundState>();
}

ParserStatePtr PostListValueFoundState::OnQuote(ParserStatePtr /*self*/) { return ChangeTo<QuotedListValueState>(); }

ParserStatePtr PostListValueFoundState::OnOpenBracket(ParserStatePtr /*self*/) { return ChangeTo<SectionState>(); }

ParserStatePtr PostListValueFoundState::OnPound(ParserStatePtr self) { return ToInclude(std::move(self)); }

ParserStatePtr PostListValueFoundState::OnSemicolon(ParserStatePtr self) { return ToComment(std::move(self)); }

ParserStatePtr PostListValueFoundState::OnLineFeed(ParserStatePtr self) {
  Context().pendingWord.clear();
  return self;
}

// --- Comment ---------------------------------------------------------------

ParserStatePtr CommentState::AppendToComment(ParserStatePtr self) {
  commentText_ += Token().Text();
  return self;
}

ParserStatePtr CommentState::OnLineFeed(ParserStatePtr /*self: discarded*/) {
  ParserContext& context = Context();
  context.AddFoundItem("Comment\t->" + commentText_);
  commentText_.clear();
  ParserStatePtr resumed = std::move(context.commentReturnState);
  if (!resumed) resumed = std::make_unique<StartState>(context);
  return ChangeTo(std::move(resumed));
}
