#pragma once
// One token of the setup profile: a special character, a word, or the end of
// the input, with the whole source line it came from (for error lines).

#include <memory>
#include <string>

class CItoken {
 public:
  // The kinds in their numbers; 2 (a line end) is reserved and never handed out.
  static constexpr int kEndOfInput = 1;
  static constexpr int kNewLine = 2;
  static constexpr int kSpecialCharacter = 3;
  static constexpr int kWord = 4;

  CItoken() = default;
  CItoken(int kind, std::string text, std::shared_ptr<const std::string> line, int lineNumber)
      : kind_(kind), text_(std::move(text)), line_(std::move(line)), lineNumber_(lineNumber) {}

  int Kind() const { return kind_; }
  const std::string& Text() const { return text_; }
  // The whole source line, with its line end when it had one; empty before the first line.
  const std::string& Line() const { return line_ ? *line_ : EmptyLine(); }
  int LineNumber() const { return lineNumber_; }

 private:
  static const std::string& EmptyLine();

  int kind_ = kEndOfInput;
  std::string text_;
  // Shared by every token of the line: a long line of many tokens is then not
  // copied once per token.
  std::shared_ptr<const std::string> line_;
  int lineNumber_ = 0;
};
