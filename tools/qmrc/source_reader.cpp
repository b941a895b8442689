#include "tools/qmrc/source_reader.h"

#include <algorithm>
#include <cctype>

#include "tools/qmrc/expression.h"
#include "tools/qmrc/source_file.h"
#include "tools/qmrc/token_cursor.h"

namespace qmrc {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxIncludeDepth = 32;

// Windows' headers that scripts include for the names this compiler builds in.
constexpr const char* kSystemHeaders[] = {"windows.h", "winres.h",  "afxres.h", "winresrc.h", "winuser.h",
                                          "winuser.rh", "commctrl.h", "winver.h", "winnt.h",   "dlgs.h"};

bool IsSystemHeader(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return std::find(std::begin(kSystemHeaders), std::end(kSystemHeaders), name) != std::end(kSystemHeaders);
}

// One #if/#ifdef/#ifndef level.
struct Conditional {
  bool active;        // the lines of the current branch are read
  bool branchTaken;   // some branch of this level was already taken
  bool elseSeen;
  bool parentActive;
  SourceLocation where;
};

class Preprocessor {
 public:
  explicit Preprocessor(fs::path script) : script_(std::move(script)) {}

  PreprocessedScript Run() {
    ReadFile(script_, 0);
    return std::move(result_);
  }

 private:
  void ReadFile(const fs::path& file, int depth) {
    const std::vector<std::string> lines = ReadSourceLines(file);
    const size_t outerLevels = conditionals_.size();
    for (size_t index = 0; index < lines.size(); ++index) {
      SourceLocation where{file.string(), static_cast<int>(index) + 1};
      std::string line = lines[index];
      const size_t first = line.find_first_not_of(" \t\f\v");
      if (first != std::string::npos && line[first] == '#') {
        // A directive continues over lines that end in a backslash.
        while (!line.empty() && line.back() == '\\' && index + 1 < lines.size()) {
          line.pop_back();
          line += lines[++index];
        }
        Directive(line.substr(first + 1), where, file, depth);
      } else if (Active()) {
        std::vector<Token> tokens = macros_.Expand(TokenizeLine(line, where));
        result_.tokens.insert(result_.tokens.end(), std::make_move_iterator(tokens.begin()),
                              std::make_move_iterator(tokens.end()));
      }
    }
    if (conditionals_.size() > outerLevels) {
      throw CompileError(conditionals_.back().where, "#if without #endif");
    }
  }

  bool Active() const { return conditionals_.empty() || conditionals_.back().active; }

  void Directive(const std::string& text, const SourceLocation& where, const fs::path& file, int depth) {
    size_t pos = text.find_first_not_of(" \t");
    if (pos == std::string::npos) return;  // a lone "#" does nothing
    size_t end = pos;
    while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) ++end;
    const std::string name = text.substr(pos, end - pos);
    const std::string rest = text.substr(end);

    if (name == "ifdef" || name == "ifndef") {
      const bool defined = Active() && macros_.IsDefined(SingleName(rest, where, "#" + name));
      Open(name == "ifdef" ? defined : !defined, where);
    } else if (name == "if") {
      Open(Active() && Condition(rest, where), where);
    } else if (name == "elif") {
      Conditional& level = Innermost(where, "#elif");
      if (level.elseSeen) throw CompileError(where, "#elif after #else");
      const bool take = level.parentActive && !level.branchTaken && Condition(rest, where);
      level.active = take;
      level.branchTaken = level.branchTaken || take;
    } else if (name == "else") {
      Conditional& level = Innermost(where, "#else");
      if (level.elseSeen) throw CompileError(where, "#else after #else");
      level.elseSeen = true;
      level.active = level.parentActive && !level.branchTaken;
      level.branchTaken = true;
    } else if (name == "endif") {
      Innermost(where, "#endif");
      conditionals_.pop_back();
    } else if (!Active()) {
      return;  // other directives of a switched-off branch are not even looked at
    } else if (name == "include") {
      Include(rest, where, file, depth);
    } else if (name == "define") {
      Define(rest, where);
    } else if (name == "undef") {
      macros_.Undefine(SingleName(rest, where, "#undef"));
    } else if (name == "error") {
      throw CompileError(where, "#error" + rest);
    } else if (name == "pragma" || name == "line") {
      return;  // code_page and the like: the text is read as UTF-8 or Windows-1252 anyway
    } else {
      throw CompileError(where, "unknown directive '#" + name + "'");
    }
  }

  void Open(bool take, const SourceLocation& where) {
    conditionals_.push_back(Conditional{take, take, false, Active(), where});
  }

  Conditional& Innermost(const SourceLocation& where, const std::string& directive) {
    if (conditionals_.empty()) throw CompileError(where, directive + " without #if");
    return conditionals_.back();
  }

  static std::string SingleName(const std::string& rest, const SourceLocation& where, const std::string& directive) {
    const std::vector<Token> tokens = TokenizeLine(rest, where);
    if (tokens.size() != 1 || tokens[0].kind != TokenKind::kIdentifier) {
      throw CompileError(where, directive + " expects one name");
    }
    return tokens[0].text;
  }

  bool Condition(const std::string& rest, const SourceLocation& where) {
    // "defined NAME" and "defined(NAME)" are answered before names are replaced.
    const std::vector<Token> raw = TokenizeLine(rest, where);
    std::vector<Token> resolved;
    for (size_t i = 0; i < raw.size(); ++i) {
      if (raw[i].kind != TokenKind::kIdentifier || raw[i].text != "defined") {
        resolved.push_back(raw[i]);
        continue;
      }
      const bool parenthesised = i + 1 < raw.size() && raw[i + 1].IsPunctuator("(");
      const size_t nameAt = i + (parenthesised ? 2 : 1);
      if (nameAt >= raw.size() || raw[nameAt].kind != TokenKind::kIdentifier ||
          (parenthesised && (nameAt + 1 >= raw.size() || !raw[nameAt + 1].IsPunctuator(")")))) {
        throw CompileError(where, "'defined' expects a name");
      }
      Token value = raw[i];
      value.kind = TokenKind::kNumber;
      value.number = macros_.IsDefined(raw[nameAt].text) ? 1 : 0;
      value.text = std::to_string(value.number);
      resolved.push_back(value);
      i = nameAt + (parenthesised ? 1 : 0);
    }
    const std::vector<Token> tokens = macros_.Expand(resolved);
    if (tokens.empty()) throw CompileError(where, "#if without a condition");
    TokenCursor cursor(tokens);
    const bool value = EvaluateCondition(cursor);
    if (!cursor.AtEnd()) cursor.Fail("unexpected " + Spelling(cursor.Peek()) + " in the condition");
    return value;
  }

  void Define(const std::string& rest, const SourceLocation& where) {
    size_t pos = rest.find_first_not_of(" \t");
    size_t end = pos;
    while (end < rest.size() && (std::isalnum(static_cast<unsigned char>(rest[end])) || rest[end] == '_')) ++end;
    if (pos == std::string::npos || end == pos || std::isdigit(static_cast<unsigned char>(rest[pos]))) {
      throw CompileError(where, "#define expects a name");
    }
    Macro macro;
    macro.where = where;
    size_t bodyStart = end;
    if (end < rest.size() && rest[end] == '(') {  // no space before "(": a function-like macro
      macro.functionLike = true;
      bodyStart = rest.find(')', end);
      if (bodyStart == std::string::npos) throw CompileError(where, "unterminated parameter list in #define");
      ++bodyStart;
    }
    macro.body = TokenizeLine(rest.substr(bodyStart), where);
    macros_.Define(rest.substr(pos, end - pos), std::move(macro));
  }

  void Include(const std::string& rest, const SourceLocation& where, const fs::path& file, int depth) {
    const std::string includeTarget = Trim(rest);
    const bool quoted = includeTarget.size() >= 2 && includeTarget.front() == '"' && includeTarget.back() == '"';
    const bool angled = includeTarget.size() >= 2 && includeTarget.front() == '<' && includeTarget.back() == '>';
    if (!quoted && !angled) throw CompileError(where, "#include expects \"file\" or <file>");
    std::string name = includeTarget.substr(1, includeTarget.size() - 2);
    std::replace(name.begin(), name.end(), '\\', '/');
    if (depth + 1 >= kMaxIncludeDepth) throw CompileError(where, "#include nested too deeply (does a header include itself?)");

    for (const fs::path& directory : {file.parent_path(), script_.parent_path()}) {
      const fs::path candidate = (directory / name).lexically_normal();
      std::error_code ec;
      if (fs::is_regular_file(candidate, ec)) {
        result_.includedFiles.push_back(candidate);
        ReadFile(candidate, depth + 1);
        return;
      }
    }
    if (IsSystemHeader(fs::path(name).filename().string())) return;
    throw CompileError(where, "cannot open include file '" + name + "'");
  }

  static std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") + 1 - first);
  }

  fs::path script_;
  MacroTable macros_;
  std::vector<Conditional> conditionals_;
  PreprocessedScript result_;
};

}  // namespace

PreprocessedScript Preprocess(const std::filesystem::path& script) { return Preprocessor(script).Run(); }

}  // namespace qmrc
