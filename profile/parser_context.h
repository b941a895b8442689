#pragma once
// What the states of one parse share: the current token, the states kept to be
// resumed after a comment or an include, the texts being collected, the tree
// being built and the diagnostic lists. An include runs with the same context.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "profile/ci_token.h"
#include "profile/parse_diagnostics.h"
#include "profile/profile_byte_source.h"
#include "profile/profile_tree.h"

class ParserState;
using ParserStatePtr = std::unique_ptr<ParserState>;

struct ParserContext {
  // Includes nest at most this deep: the language sets no bound, the stack does.
  static constexpr int kMaxIncludeNesting = 32;
  // And at most this many includes are read in one parse: files that each
  // include the next one twice would otherwise take time exponential in depth.
  static constexpr int kMaxIncludes = 1000;
  // Every error line holds its whole source line, so a long line of bad tokens
  // would fill memory with copies of itself: past this many bytes of error text
  // one last line (kErrorListFull) says so and further errors are dropped.
  // Parsing goes on as before.
  static constexpr std::size_t kErrorTextBudget = std::size_t{16} << 20;
  static constexpr const char* kErrorListFull = "Further errors not recorded: the error list is full";

  explicit ParserContext(ProfileFile& parseTarget);
  ~ParserContext();
  ParserContext(const ParserContext&) = delete;
  ParserContext& operator=(const ParserContext&) = delete;

  ProfileFile& target;
  CItoken currentToken;
  // States kept while a comment or an include runs; owned here until resumed.
  ParserStatePtr commentReturnState;
  ParserStatePtr includeReturnState;
  std::string includeFileName;
  std::string sectionName;
  std::string pendingWord;
  std::string quotedValue;
  ParseDiagnostics diagnostics;

  // The files being read, outermost first (a text in memory has no identity),
  // to stop an include of a file that is already being read.
  std::vector<std::optional<ProfileFileIdentity>> openFiles;
  int includesRead = 0;

  void AddTrace(std::string line) { diagnostics.trace.push_back(std::move(line)); }
  void AddFoundItem(std::string line) { diagnostics.foundItems.push_back(std::move(line)); }
  void AddError(std::string line);
  // "Line " + number + "-> " + the whole source line of the current token.
  void AddErrorAtCurrentToken();

 private:
  // Counts size against the budget; false (and the closing line added once) when it is spent.
  bool ReserveErrorText(std::size_t size);

  std::size_t errorTextSize_ = 0;
  bool errorListFull_ = false;
};
