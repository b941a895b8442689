#pragma once
// Access to the program's string table. The texts come from a replaceable
// source: the string table of the compiled resource script by default; tests and
// tools may install another lookup with SetStringSource without touching any caller.

// Ids of the strings that code (rather than a message table) refers to.
namespace string_id {
inline constexpr unsigned kSetupCannotContinue = 9;    // context of an uncaught failure
inline constexpr unsigned kContinueOperation = 14;     // report button 1 when continuing is allowed
inline constexpr unsigned kCancelOperation = 15;       // report button 2
inline constexpr unsigned kCannotInstallFiles = 17;    // context of a failed source, "%s" = file name
}  // namespace string_id

// A lookup of string texts by id; null for an id the source does not hold. The
// texts it returns must stay valid for the life of the process.
using StringSource = const char* (*)(unsigned id);

// Makes source the process's string source and returns the previous one. A null
// source restores the resource script's table. Set it at start-up, before any text is loaded.
StringSource SetStringSource(StringSource source);

// The text of id from the current source; "" when the id is missing, so that a
// missing string leaves its text empty instead of failing.
const char* LoadStringText(unsigned id);
