#include "platform/core/text_encoding.h"
#include "tools/qmrc/token.h"

#include <cctype>
#include <strings.h>

#include "tools/qmrc/source_file.h"

namespace qmrc {
namespace {

bool IsIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendCodePoint(std::string& out, std::uint32_t code, bool wide) {
  // A narrow string's escaped byte is a character of the script's code page.
  if (!wide && code < 0x100) {
    out += Windows1252ToUtf8(static_cast<unsigned char>(code));
    return;
  }
  platform::AppendUtf8(out, static_cast<char32_t>(code));
}

// Reads the string literal whose opening quote is at line[pos]; returns the
// position after its closing quote.
size_t ReadString(const std::string& line, size_t pos, bool wide, const SourceLocation& where, std::string& value) {
  ++pos;
  while (true) {
    if (pos >= line.size()) throw CompileError(where, "unterminated string");
    const char c = line[pos];
    if (c == '"') {
      if (pos + 1 < line.size() && line[pos + 1] == '"') {  // "" stands for one quote
        value += '"';
        pos += 2;
        continue;
      }
      return pos + 1;
    }
    if (c != '\\') {
      value += c;
      ++pos;
      continue;
    }
    if (pos + 1 >= line.size()) throw CompileError(where, "unterminated string");
    const char e = line[pos + 1];
    pos += 2;
    switch (e) {
      case 'n': value += '\n'; break;
      case 'r': value += '\r'; break;
      case 't': value += '\t'; break;
      case 'a': value += '\a'; break;
      case '\\': value += '\\'; break;
      case '"': value += '"'; break;
      case 'x':
      case 'X': {
        // Two hex digits in a narrow string, four in a wide one.
        std::uint32_t code = 0;
        int digits = 0;
        const int most = wide ? 4 : 2;
        while (digits < most && pos < line.size() && HexDigit(line[pos]) >= 0) {
          code = code * 16 + static_cast<std::uint32_t>(HexDigit(line[pos]));
          ++pos;
          ++digits;
        }
        if (digits == 0) throw CompileError(where, "\\x without hex digits in a string");
        AppendCodePoint(value, code, wide);
        break;
      }
      default:
        if (e >= '0' && e <= '7') {
          std::uint32_t code = static_cast<std::uint32_t>(e - '0');
          for (int digits = 1; digits < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7'; ++digits) {
            code = code * 8 + static_cast<std::uint32_t>(line[pos] - '0');
            ++pos;
          }
          AppendCodePoint(value, code, wide);
        } else {
          // rc keeps an escape it does not know as it stands.
          value += '\\';
          value += e;
        }
    }
  }
}

size_t ReadNumber(const std::string& line, size_t pos, const SourceLocation& where, std::uint32_t& value) {
  const size_t start = pos;
  std::uint64_t accumulated = 0;
  int base = 10;
  if (line[pos] == '0' && pos + 1 < line.size() && (line[pos + 1] == 'x' || line[pos + 1] == 'X')) {
    base = 16;
    pos += 2;
  }
  size_t digits = 0;
  while (pos < line.size()) {
    const int digit = HexDigit(line[pos]);
    if (digit < 0 || digit >= base) break;
    accumulated = accumulated * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (accumulated > 0xFFFFFFFFu) throw CompileError(where, "number too large: " + line.substr(start, pos + 1 - start));
    ++pos;
    ++digits;
  }
  while (pos < line.size() && (line[pos] == 'L' || line[pos] == 'l' || line[pos] == 'U' || line[pos] == 'u')) ++pos;
  if (digits == 0 || (pos < line.size() && IsIdentifierChar(line[pos]))) {
    size_t end = pos;
    while (end < line.size() && IsIdentifierChar(line[end])) ++end;
    throw CompileError(where, "malformed number '" + line.substr(start, end - start) + "'");
  }
  value = static_cast<std::uint32_t>(accumulated);
  return pos;
}

constexpr const char* kTwoCharPunctuators[] = {"&&", "||", "==", "!=", "<=", ">="};
constexpr const char kOneCharPunctuators[] = ",|&+-~!()*/{}<>=";

}  // namespace

bool Token::IsKeyword(const char* keyword) const {
  return kind == TokenKind::kIdentifier && ::strcasecmp(text.c_str(), keyword) == 0;
}

std::string Spelling(const Token& token) {
  switch (token.kind) {
    case TokenKind::kEnd: return "end of input";
    case TokenKind::kString: return "\"" + token.text + "\"";
    case TokenKind::kNumber: return "'" + std::to_string(token.number) + "'";
    default: return "'" + token.text + "'";
  }
}

std::vector<Token> TokenizeLine(const std::string& line, const SourceLocation& where) {
  std::vector<Token> tokens;
  size_t pos = 0;
  while (pos < line.size()) {
    const char c = line[pos];
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++pos;
      continue;
    }
    Token token;
    token.where = where;
    const bool wideString = (c == 'L' || c == 'l') && pos + 1 < line.size() && line[pos + 1] == '"';
    if (c == '"' || wideString) {
      token.kind = TokenKind::kString;
      pos = ReadString(line, wideString ? pos + 1 : pos, wideString, where, token.text);
    } else if (IsIdentifierStart(c)) {
      const size_t start = pos;
      while (pos < line.size() && IsIdentifierChar(line[pos])) ++pos;
      token.kind = TokenKind::kIdentifier;
      token.text = line.substr(start, pos - start);
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      token.kind = TokenKind::kNumber;
      pos = ReadNumber(line, pos, where, token.number);
      token.text = std::to_string(token.number);
    } else {
      token.kind = TokenKind::kPunctuator;
      for (const char* pair : kTwoCharPunctuators) {
        if (line.compare(pos, 2, pair) == 0) token.text = pair;
      }
      if (token.text.empty()) {
        if (std::string_view(kOneCharPunctuators).find(c) == std::string_view::npos) {
          throw CompileError(where, std::string("unexpected character '") + c + "'");
        }
        token.text = std::string(1, c);
      }
      pos += token.text.size();
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

}  // namespace qmrc
