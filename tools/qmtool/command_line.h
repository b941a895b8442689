#pragma once
// Small helpers shared by the verbs of qmtool: the argument list of one verb,
// options with values, and the tool's exit codes.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qmtool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Bad command-line input; the message is printed with the verb's usage hint.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Arguments {
 public:
  explicit Arguments(std::vector<std::string> words) : words_(std::move(words)) {}

  bool Empty() const { return words_.empty(); }
  // True (and removed) when the flag is present anywhere before "--".
  bool TakeFlag(std::string_view flag);
  // The value of "--name VALUE" or "--name=VALUE"; the last one wins. Removed.
  std::optional<std::string> TakeOption(std::string_view name);
  // Every value of a repeatable option, in order. Removed.
  std::vector<std::string> TakeAll(std::string_view name);
  // The next positional word, or nullopt. Raises UsageError for an unknown option.
  std::optional<std::string> TakePositional();
  // Raises UsageError naming the first word left over.
  void ExpectEnd() const;

 private:
  std::vector<std::string> words_;
};

// Prints "--version" output.
void PrintVersion(std::string_view program);

// Answers a verb's --help (its usage on stdout) and --version; the exit code
// when one of them was given, else nullopt.
std::optional<int> AnswerHelpOrVersion(Arguments& args, std::string_view verb, const char* usage);

// Makes the machine the verb works on current: --root DIR when given, else
// QMSETUP_SYSTEM, else the default one under $XDG_DATA_HOME.
void UseMachineFrom(Arguments& args);

}  // namespace qmtool
