#include "profile/profile_parser.h"

#include <algorithm>
#include <string>

#include "profile/parser_states.h"
#include "profile/profile_scanner.h"

namespace {

// Hands one token to the handler that its kind and character select.
ParserStatePtr Dispatch(ParserContext& context, ParserStatePtr state) {
  ParserState& current = *state;
  const CItoken& token = context.currentToken;
  switch (token.Kind()) {
    case CItoken::kNewLine:
      return current.OnNewLineToken(std::move(state));
    case CItoken::kSpecialCharacter:
      switch (token.Text()[0]) {
        case '\t': return current.OnTab(std::move(state));
        case '\n': return current.OnLineFeed(std::move(state));
        case '\v': return current.OnVerticalTab(std::move(state));
        case '\f': return current.OnFormFeed(std::move(state));
        case '\r': return current.OnCarriageReturn(std::move(state));
        case ' ': return current.OnSpace(std::move(state));
        case '"': return current.OnQuote(std::move(state));
        case '#': return current.OnPound(std::move(state));
        case ';': return current.OnSemicolon(std::move(state));
        case '=': return current.OnEquals(std::move(state));
        case '[': return current.OnOpenBracket(std::move(state));
        case ']': return current.OnCloseBracket(std::move(state));
        default:
          context.AddError("Internal Error - Unknown Special Character - state machine needs fixing");
          return current.OnUnknownCharacter(std::move(state));
      }
    case CItoken::kWord:
      return current.OnWord(std::move(state));
    default:
      context.AddError("Internal Error - Unknown Token");
      return current.OnUnknownToken(std::move(state));
  }
}

// The driver proper, over a scanner that is open (or could not be opened).
ParserStatePtr RunScanner(ParserContext& context, ProfileScanner& scanner, ParserStatePtr state) {
  if (!scanner.NextToken(context.currentToken)) {
    context.AddError("Internal error - ERROR in test_initoken, yes this is bad news");
  }
  while (context.currentToken.Kind() != CItoken::kEndOfInput) {
    state = Dispatch(context, std::move(state));
    scanner.NextToken(context.currentToken);
  }
  ParserState& current = *state;
  state = current.OnEndOfInput(std::move(state));
  scanner.Close();
  return state;
}

// Runs the driver on a scanner with the file recorded as being read meanwhile.
ParserStatePtr RunTracked(ParserContext& context, ProfileScanner& scanner, ParserStatePtr state) {
  context.openFiles.push_back(scanner.Identity());
  state = RunScanner(context, scanner, std::move(state));
  context.openFiles.pop_back();
  return state;
}

bool IsBeingRead(const ParserContext& context, const ProfileScanner& scanner) {
  const auto identity = scanner.Identity();
  return identity && std::find(context.openFiles.begin(), context.openFiles.end(), identity) != context.openFiles.end();
}

ParseDiagnostics Parse(ProfileFile& target, std::unique_ptr<ProfileByteSource> text) {
  ParserContext context(target);
  ParserStatePtr state = std::make_unique<StartState>(context);
  if (text) {
    ProfileScanner scanner;
    scanner.Open(std::move(text), target.FileName(), ProfileScanner::kProfileSpecialCharacters);
    state = RunTracked(context, scanner, std::move(state));
  } else {
    state = RunParser(context, target.FileName(), std::move(state));
  }
  state.reset();
  return std::move(context.diagnostics);
}

}  // namespace

ParserStatePtr RunParser(ParserContext& context, std::string_view fileName, ParserStatePtr state) {
  const std::string name(fileName);
  // The outermost file does not count as nesting.
  if (context.openFiles.size() > static_cast<std::size_t>(ParserContext::kMaxIncludeNesting)) {
    context.AddError("Include of '" + name + "' skipped: nested too deeply");
    return state;
  }
  if (!context.openFiles.empty() && ++context.includesRead > ParserContext::kMaxIncludes) {
    context.AddError("Include of '" + name + "' skipped: more than " +
                     std::to_string(ParserContext::kMaxIncludes) + " includes in one profile");
    return state;
  }
  ProfileScanner scanner;
  scanner.Open(fileName, ProfileScanner::kProfileSpecialCharacters);
  if (IsBeingRead(context, scanner)) {
    context.AddError("Include of '" + name + "' skipped: it includes itself");
    return state;
  }
  return RunTracked(context, scanner, std::move(state));
}

ParseDiagnostics ParseProfile(ProfileFile& target) { return Parse(target, nullptr); }

ParseDiagnostics ParseProfileText(ProfileFile& target, std::string_view text) {
  return Parse(target, MakeMemoryByteSource(text));
}
