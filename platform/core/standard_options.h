#pragma once
// "--help" and "--version" as a Linux user asks any program, given as the one
// and only argument. Programs whose other switches are the Windows ones take
// nothing else this way.

#include <optional>

// Prints usage (--help) or "program version" (--version) to stdout and gives
// the exit status 0; nullopt when the command line is something else.
std::optional<int> AnswerStandardOption(int argc, const char* const* argv, const char* program,
                                        const char* version, const char* usage);
