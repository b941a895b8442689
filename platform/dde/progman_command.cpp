#include "platform/dde/progman_command.h"

#include <cctype>

namespace platform::dde {
namespace {

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  char Take() { return text_[pos_++]; }
  void SkipBlanks() {
    while (!AtEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r' || text_[pos_] == '\n')) {
      ++pos_;
    }
  }
  void Expect(char c) {
    if (Peek() != c) Fail(std::string("'") + c + "' expected");
    ++pos_;
  }
  [[noreturn]] void Fail(const std::string& what) const {
    throw ProgmanCommandError(what + " at offset " + std::to_string(pos_));
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

void CheckArgument(const Scanner& scan, const std::string& arg) {
  for (const char c : arg) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') scan.Fail("control character in an argument");
  }
}

std::string QuotedArgument(Scanner& scan) {
  scan.Expect('"');
  std::string arg;
  for (;;) {
    if (scan.AtEnd()) scan.Fail("unterminated quoted argument");
    const char c = scan.Take();
    if (c != '"') {
      arg.push_back(c);
      continue;
    }
    if (scan.Peek() != '"') break;
    arg.push_back(scan.Take());
  }
  scan.SkipBlanks();
  return arg;
}

std::string UnquotedArgument(Scanner& scan) {
  std::string arg;
  while (!scan.AtEnd() && scan.Peek() != ',' && scan.Peek() != ')') {
    const char c = scan.Take();
    if (c == '"' || c == '(' || c == '[' || c == ']') scan.Fail(std::string("unexpected '") + c + "'");
    arg.push_back(c);
  }
  const auto last = arg.find_last_not_of(" \t");
  arg.erase(last == std::string::npos ? 0 : last + 1);
  return arg;
}

std::vector<std::string> Arguments(Scanner& scan) {
  scan.Expect('(');
  std::vector<std::string> args;
  scan.SkipBlanks();
  if (scan.Peek() == ')') {
    scan.Take();
    return args;
  }
  for (;;) {
    scan.SkipBlanks();
    std::string arg = scan.Peek() == '"' ? QuotedArgument(scan) : UnquotedArgument(scan);
    CheckArgument(scan, arg);
    args.push_back(std::move(arg));
    if (scan.AtEnd()) scan.Fail("')' expected");
    const char next = scan.Take();
    if (next == ')') return args;
    if (next != ',') scan.Fail("',' or ')' expected");
  }
}

ProgmanCommand Command(Scanner& scan) {
  scan.Expect('[');
  scan.SkipBlanks();
  ProgmanCommand command;
  while (std::isalnum(static_cast<unsigned char>(scan.Peek()))) command.name.push_back(scan.Take());
  if (command.name.empty()) scan.Fail("command name expected");
  scan.SkipBlanks();
  if (scan.Peek() == '(') command.args = Arguments(scan);
  scan.SkipBlanks();
  scan.Expect(']');
  return command;
}

}  // namespace

std::vector<ProgmanCommand> ParseProgmanCommands(std::string_view text) {
  Scanner scan(text);
  std::vector<ProgmanCommand> commands;
  scan.SkipBlanks();
  while (!scan.AtEnd()) {
    commands.push_back(Command(scan));
    scan.SkipBlanks();
  }
  if (commands.empty()) scan.Fail("no command");
  return commands;
}

}  // namespace platform::dde
