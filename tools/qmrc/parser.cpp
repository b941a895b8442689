#include "tools/qmrc/parser.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

#include "tools/qmrc/bitmap_file.h"
#include "tools/qmrc/dialog_parser.h"
#include "tools/qmrc/expression.h"
#include "tools/qmrc/token_cursor.h"

namespace qmrc {
namespace {

namespace fs = std::filesystem;

// Memory flags of 16-bit Windows that scripts still carry; they mean nothing here.
constexpr const char* kMemoryFlags[] = {"PRELOAD", "LOADONCALL", "FIXED",  "MOVEABLE", "DISCARDABLE",
                                        "PURE",    "IMPURE",     "SHARED", "NONSHARED"};

// Resource types whose statements are read past: nothing in the setup uses them.
constexpr const char* kSkippedBlockTypes[] = {"VERSIONINFO", "DESIGNINFO", "TEXTINCLUDE",
                                              "GUIDELINES",  "AFX_DIALOG_LAYOUT", "DLGINIT"};

struct ResourceName {
  bool numeric = false;
  int number = 0;
  std::string text;  // upper case
  SourceLocation where;

  std::string Describe() const { return numeric ? std::to_string(number) : "'" + text + "'"; }
};

std::string UpperCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
  return text;
}

class Parser {
 public:
  Parser(const std::vector<Token>& tokens, fs::path scriptDirectory)
      : cursor_(tokens), scriptDirectory_(std::move(scriptDirectory)) {}

  ResourceScript Run() {
    while (!cursor_.AtEnd()) Statement();
    return std::move(script_);
  }

 private:
  void Statement() {
    const Token& first = cursor_.Peek();
    if (first.IsKeyword("LANGUAGE")) {
      SkipLine(first.where);
      return;
    }
    if (cursor_.TakeKeyword("STRINGTABLE")) {
      StringTable(first.where);
      return;
    }
    const ResourceName name = ReadName();
    const Token& type = cursor_.Peek();
    if (type.kind != TokenKind::kIdentifier) {
      cursor_.Fail("expected a resource type after " + name.Describe() + ", found " + Spelling(type));
    }
    cursor_.Next();
    if (type.IsKeyword("DIALOG") || type.IsKeyword("DIALOGEX")) {
      SkipMemoryFlags();
      Dialog(name, type.IsKeyword("DIALOGEX"));
    } else if (type.IsKeyword("BITMAP")) {
      SkipMemoryFlags();
      Bitmap(name);
    } else if (type.IsKeyword("ICON")) {
      SkipMemoryFlags();
      FileName("icon file");  // the setup draws no icons of its own
    } else if (IsSkippedBlockType(type)) {
      SkipBlock();
    } else {
      throw CompileError(type.where, "unknown resource type '" + type.text + "'");
    }
  }

  ResourceName ReadName() {
    ResourceName name;
    name.where = cursor_.Peek().where;
    const Token& token = cursor_.Peek();
    if (token.kind == TokenKind::kString || token.kind == TokenKind::kIdentifier) {
      name.text = UpperCase(cursor_.Next().text);
      return name;
    }
    const std::int64_t value = EvaluateNumber(cursor_, "a resource name or number");
    if (value < 0 || value > 0xFFFF) {
      throw CompileError(name.where, "resource number out of range (0 to 65535): " + std::to_string(value));
    }
    name.numeric = true;
    name.number = static_cast<int>(value);
    return name;
  }

  void Dialog(const ResourceName& name, bool extended) {
    if (!name.numeric) {
      throw CompileError(name.where, "dialog " + name.Describe() + " must be numbered (is its name #defined?)");
    }
    auto [seen, fresh] = dialogIds_.emplace(name.number, name.where);
    if (!fresh) {
      throw CompileError(name.where, "duplicate dialog " + name.Describe() + " (first defined at " +
                                         qmrc::Describe(seen->second) + ")");
    }
    script_.dialogs.push_back(ParseDialog(cursor_, name.number, extended, name.where));
  }

  void Bitmap(const ResourceName& name) {
    const std::string key = name.numeric ? "#" + std::to_string(name.number) : name.text;
    auto [seen, fresh] = bitmapNames_.emplace(key, name.where);
    if (!fresh) {
      throw CompileError(name.where, "duplicate bitmap " + name.Describe() + " (first defined at " +
                                         qmrc::Describe(seen->second) + ")");
    }
    BitmapDefinition bitmap;
    bitmap.numericId = name.numeric ? name.number : -1;
    bitmap.name = name.numeric ? std::string() : name.text;
    bitmap.where = name.where;
    bitmap.file = ResolveResourceFile(scriptDirectory_, FileName("bitmap file"));
    bitmap.bytes = LoadBitmapFile(bitmap.file, name.where);
    script_.bitmaps.push_back(std::move(bitmap));
  }

  std::string FileName(const char* what) {
    if (cursor_.Peek().kind != TokenKind::kString) {
      cursor_.Fail(std::string("expected the ") + what + " in quotes, found " + Spelling(cursor_.Peek()));
    }
    return cursor_.Next().text;
  }

  void StringTable(const SourceLocation& where) {
    while (!cursor_.AtEnd() && !cursor_.AtBlockStart()) {
      const Token& option = cursor_.Peek();
      if (option.IsKeyword("LANGUAGE")) {
        SkipLine(option.where);
      } else if (cursor_.TakeKeyword("CHARACTERISTICS") || cursor_.TakeKeyword("VERSION")) {
        EvaluateNumber(cursor_, "the number");
      } else if (IsMemoryFlag(option)) {
        cursor_.Next();
      } else {
        cursor_.Fail("expected BEGIN after STRINGTABLE, found " + Spelling(option));
      }
    }
    if (cursor_.AtEnd()) throw CompileError(where, "STRINGTABLE without BEGIN");
    const SourceLocation blockStart = cursor_.Next().where;
    while (!cursor_.AtBlockEnd()) {
      if (cursor_.AtEnd()) throw CompileError(blockStart, "BEGIN without a matching END");
      StringEntry();
    }
    cursor_.Next();
  }

  void StringEntry() {
    const SourceLocation where = cursor_.Peek().where;
    const std::int64_t id = EvaluateNumber(cursor_, "a string id");
    if (id < 0 || id > 0xFFFF) throw CompileError(where, "string id out of range (0 to 65535): " + std::to_string(id));
    cursor_.TakePunctuator(",");
    if (cursor_.Peek().kind != TokenKind::kString) {
      cursor_.Fail("expected the text of string " + std::to_string(id) + " in quotes, found " + Spelling(cursor_.Peek()));
    }
    std::string text = cursor_.Next().text;
    if (cursor_.Peek().kind == TokenKind::kString) {
      cursor_.Fail("a second string follows the text of string " + std::to_string(id) +
                   " (adjacent strings are not joined; use one literal with \\n)");
    }
    auto [seen, fresh] = stringIds_.emplace(static_cast<unsigned>(id), where);
    if (!fresh) {
      throw CompileError(where, "duplicate string id " + std::to_string(id) + " (first defined at " +
                                    qmrc::Describe(seen->second) + ")");
    }
    script_.strings.push_back(StringDefinition{static_cast<unsigned>(id), std::move(text), where});
  }

  bool IsMemoryFlag(const Token& token) const {
    return std::any_of(std::begin(kMemoryFlags), std::end(kMemoryFlags),
                       [&](const char* flag) { return token.IsKeyword(flag); });
  }

  bool IsSkippedBlockType(const Token& token) const {
    return std::any_of(std::begin(kSkippedBlockTypes), std::end(kSkippedBlockTypes),
                       [&](const char* type) { return token.IsKeyword(type); });
  }

  void SkipMemoryFlags() {
    while (IsMemoryFlag(cursor_.Peek())) cursor_.Next();
  }

  void SkipLine(const SourceLocation& where) {
    while (!cursor_.AtEnd() && cursor_.Peek().where.file == where.file && cursor_.Peek().where.line == where.line) {
      cursor_.Next();
    }
  }

  // Everything up to the first BEGIN, then to its matching END.
  void SkipBlock() {
    while (!cursor_.AtEnd() && !cursor_.AtBlockStart()) cursor_.Next();
    if (cursor_.AtEnd()) cursor_.Fail("expected BEGIN, found end of input");
    const SourceLocation blockStart = cursor_.Next().where;
    for (int depth = 1; depth > 0;) {
      if (cursor_.AtEnd()) throw CompileError(blockStart, "BEGIN without a matching END");
      if (cursor_.AtBlockStart()) ++depth;
      if (cursor_.AtBlockEnd()) --depth;
      cursor_.Next();
    }
  }

  TokenCursor cursor_;
  fs::path scriptDirectory_;
  ResourceScript script_;
  std::map<int, SourceLocation> dialogIds_;
  std::map<unsigned, SourceLocation> stringIds_;
  std::map<std::string, SourceLocation> bitmapNames_;
};

}  // namespace

ResourceScript ParseScript(const std::vector<Token>& tokens, const std::filesystem::path& scriptDirectory) {
  return Parser(tokens, scriptDirectory).Run();
}

}  // namespace qmrc
