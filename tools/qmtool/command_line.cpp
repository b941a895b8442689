#include "tools/qmtool/command_line.h"

#include <cstdio>
#include <filesystem>

#include "platform/machine/machine.h"

namespace qmtool {
namespace {

bool IsEndOfOptions(const std::string& word) { return word == "--"; }

}  // namespace

bool Arguments::TakeFlag(std::string_view flag) {
  for (auto it = words_.begin(); it != words_.end() && !IsEndOfOptions(*it); ++it) {
    if (*it == flag) {
      words_.erase(it);
      return true;
    }
  }
  return false;
}

std::vector<std::string> Arguments::TakeAll(std::string_view name) {
  std::vector<std::string> values;
  const std::string prefix = std::string(name) + "=";
  for (std::size_t i = 0; i < words_.size() && !IsEndOfOptions(words_[i]);) {
    if (words_[i] == name) {
      if (i + 1 >= words_.size()) throw UsageError("option " + std::string(name) + " needs a value");
      values.push_back(words_[i + 1]);
      words_.erase(words_.begin() + i, words_.begin() + i + 2);
    } else if (words_[i].rfind(prefix, 0) == 0) {
      values.push_back(words_[i].substr(prefix.size()));
      words_.erase(words_.begin() + i);
    } else {
      ++i;
    }
  }
  return values;
}

std::optional<std::string> Arguments::TakeOption(std::string_view name) {
  std::vector<std::string> values = TakeAll(name);
  if (values.empty()) return std::nullopt;
  return values.back();
}

std::optional<std::string> Arguments::TakePositional() {
  if (words_.empty()) return std::nullopt;
  if (IsEndOfOptions(words_.front())) {
    words_.erase(words_.begin());
    if (words_.empty()) return std::nullopt;
  } else if (words_.front().size() > 1 && words_.front()[0] == '-') {
    throw UsageError("unknown option " + words_.front());
  }
  std::string word = words_.front();
  words_.erase(words_.begin());
  return word;
}

void Arguments::ExpectEnd() const {
  if (words_.empty()) return;
  const std::string& word = words_.front();
  if (word.size() > 1 && word[0] == '-') throw UsageError("unknown option " + word);
  throw UsageError("unexpected argument '" + word + "'");
}

void PrintVersion(std::string_view program) {
  std::printf("%.*s (Quillmark 2.0 Setup) %s\n", static_cast<int>(program.size()), program.data(),
              QM_VERSION);
}

std::optional<int> AnswerHelpOrVersion(Arguments& args, std::string_view verb, const char* usage) {
  if (args.TakeFlag("--help") || args.TakeFlag("-h")) {
    std::fputs(usage, stdout);
    return kExitOk;
  }
  if (args.TakeFlag("--version")) {
    PrintVersion("qmtool " + std::string(verb));
    return kExitOk;
  }
  return std::nullopt;
}

void UseMachineFrom(Arguments& args) {
  if (auto root = args.TakeOption("--root")) {
    platform::UseMachine(std::filesystem::absolute(*root));
  } else {
    platform::UseMachine(platform::DefaultSystemRoot());
  }
}

}  // namespace qmtool
