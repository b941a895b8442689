#pragma once
// The driver of the profile parser and the two ways into it.

#include <string_view>

#include "profile/parse_diagnostics.h"
#include "profile/parser_state.h"
#include "profile/profile_tree.h"

// Parses the file that target names (a Windows name; relative against the
// current directory) into target. A file that cannot be opened adds nothing.
// Never stops on bad input: see the error list of the result.
ParseDiagnostics ParseProfile(ProfileFile& target);
// The same over a text in memory instead of target's file; includes in it
// still name files.
ParseDiagnostics ParseProfileText(ProfileFile& target, std::string_view text);

// Reads one file token by token starting in state and returns the state in
// which its end was reached. An include runs it with the context it shares.
// An include that would nest more than ParserContext::kMaxIncludeNesting deep
// or read a file that is already being read is skipped with an error line and
// returns state unchanged, as a missing file does.
ParserStatePtr RunParser(ParserContext& context, std::string_view fileName, ParserStatePtr state);
