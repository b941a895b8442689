#pragma once
// The setup's command line. The switches are "/" followed by a letter (letters
// are case-sensitive): /U removal run, /B batch, /I ignore conditions, /D:path
// source directory, /T:n the thread told when the run ends. Anything else is
// parsed and ignored.
//
// On Linux the program gets an argument vector instead of one command-line
// text: the text is argv[1..] joined with single spaces, which is what the
// Windows command line of the same words holds. A word is split again at
// spaces, so an argument with a space in it becomes two words, as on the
// original command line.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// Switch key (the letter, or the text before a colon) to value. Positional
// words are kept under "#1", "#2", ... and have no effect.
using CommandLineSwitches = std::map<std::string, std::string>;

// argv[1..argc-1] joined with single spaces.
std::string JoinArguments(int argc, const char* const* argv);

// Splits text at spaces (runs of spaces give no empty words; tabs are part of a
// word) and stores each word: "/" alone is ignored; a word with a colon gives
// the text between "/" and the first colon as key and the rest as value
// ("/D:C:\APPS" -> D = "C:\APPS"); otherwise the second character is the key
// and the rest the value ("/T123" -> T = "123"). A later word replaces an
// earlier one of the same key.
CommandLineSwitches ParseCommandLine(std::string_view text);
