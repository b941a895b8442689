#include "tools/qmtool/regedit4.h"

#include <cctype>
#include <cstdio>

namespace qmtool {
namespace {

constexpr std::uint32_t kTypeString = 1;
constexpr std::uint32_t kTypeBinary = 3;
constexpr std::uint32_t kTypeNumber = 4;

// The registry editor breaks hex data once a line passes this column.
constexpr std::size_t kWrapColumn = 76;

bool HoldsLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
  return out;
}

bool FitsBetweenQuotes(const std::vector<std::uint8_t>& data) {
  for (std::uint8_t byte : data) {
    if (byte == 0 || byte == '\r' || byte == '\n') return false;
  }
  return true;
}

void AppendHex(std::string& out, std::string_view prefix, const std::vector<std::uint8_t>& data) {
  out += prefix;
  std::size_t column = prefix.size();
  char digits[4];
  for (std::size_t i = 0; i < data.size(); ++i) {
    std::snprintf(digits, sizeof digits, "%02x", data[i]);
    out += digits;
    column += 2;
    if (i + 1 == data.size()) break;
    out += ',';
    ++column;
    if (column > kWrapColumn) {
      out += "\\\n  ";
      column = 2;
    }
  }
  out += '\n';
}

void AppendValue(std::string& out, const RegFileValue& value) {
  if (HoldsLineBreak(value.name)) throw Regedit4Error(0, "value name holds a line break: " + Quoted(value.name));
  const std::string name = value.name.empty() ? "@" : Quoted(value.name);
  if (value.deleted) {
    out += name + "=-\n";
    return;
  }
  if (value.type == kTypeString && FitsBetweenQuotes(value.data)) {
    out += name + "=" + Quoted(std::string(value.data.begin(), value.data.end())) + "\n";
    return;
  }
  if (value.type == kTypeNumber && value.data.size() == 4) {
    const std::uint32_t number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                 (static_cast<std::uint32_t>(value.data[3]) << 24);
    char text[32];
    std::snprintf(text, sizeof text, "=dword:%08x\n", number);
    out += name + text;
    return;
  }
  if (value.type == kTypeBinary) {
    AppendHex(out, name + "=hex:", value.data);
    return;
  }
  char typeText[32];
  std::snprintf(typeText, sizeof typeText, "=hex(%x):", value.type);
  AppendHex(out, name + typeText, value.data);
}

// ---- reading ----

struct Line {
  int number;
  std::string_view text;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back({++number, line});
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

std::string_view Trim(std::string_view text) {
  text = TrimLeft(text);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted string at the start of text; text is left after the closing quote.
std::string ReadQuoted(std::string_view& text, int line) {
  std::string out;
  std::size_t i = 1;  // past the opening quote
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"') break;
    if (c == '\\') {
      if (i + 1 >= text.size() || (text[i + 1] != '\\' && text[i + 1] != '"')) {
        throw Regedit4Error(line, "only \\\\ and \\\" may follow a backslash in a quoted string");
      }
      ++i;
    }
    out += text[i];
  }
  if (i >= text.size()) throw Regedit4Error(line, "quoted string without its closing quote");
  text.remove_prefix(i + 1);
  return out;
}

std::vector<std::uint8_t> ReadHexBytes(std::string_view text, int line) {
  std::vector<std::uint8_t> bytes;
  text = Trim(text);
  if (text.empty()) return bytes;
  while (true) {
    text = TrimLeft(text);
    if (text.size() < 2 || HexDigit(text[0]) < 0 || HexDigit(text[1]) < 0) {
      throw Regedit4Error(line, "hex data wants two hex digits per byte, separated by commas");
    }
    bytes.push_back(static_cast<std::uint8_t>(HexDigit(text[0]) * 16 + HexDigit(text[1])));
    text = TrimLeft(text.substr(2));
    if (text.empty()) return bytes;
    if (text.front() != ',') throw Regedit4Error(line, "hex data wants a comma between bytes");
    text.remove_prefix(1);
    if (Trim(text).empty()) return bytes;  // a trailing comma is accepted
  }
}

RegFileValue ReadValue(std::string_view text, int line) {
  RegFileValue value;
  if (text.front() == '@') {
    text.remove_prefix(1);
  } else {
    value.name = ReadQuoted(text, line);
  }
  text = TrimLeft(text);
  if (text.empty() || text.front() != '=') throw Regedit4Error(line, "a value wants '=' after its name");
  text = Trim(text.substr(1));

  if (text == "-") {
    value.deleted = true;
  } else if (!text.empty() && text.front() == '"') {
    const std::string data = ReadQuoted(text, line);
    if (!Trim(text).empty()) throw Regedit4Error(line, "text after the closing quote");
    value.type = kTypeString;
    value.data.assign(data.begin(), data.end());
  } else if (text.starts_with("dword:")) {
    const std::string_view digits = text.substr(6);
    if (digits.empty() || digits.size() > 8) throw Regedit4Error(line, "dword: wants 1 to 8 hex digits");
    std::uint32_t number = 0;
    for (char c : digits) {
      if (HexDigit(c) < 0) throw Regedit4Error(line, "dword: wants 1 to 8 hex digits");
      number = number * 16 + static_cast<std::uint32_t>(HexDigit(c));
    }
    value.type = kTypeNumber;
    value.data = {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
                  static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
  } else if (text.starts_with("hex:")) {
    value.type = kTypeBinary;
    value.data = ReadHexBytes(text.substr(4), line);
  } else if (text.starts_with("hex(")) {
    const std::size_t close = text.find("):");
    if (close == std::string_view::npos || close == 4 || close > 12) {
      throw Regedit4Error(line, "hex(TYPE): wants the type in hex digits");
    }
    std::uint32_t type = 0;
    for (char c : text.substr(4, close - 4)) {
      if (HexDigit(c) < 0) throw Regedit4Error(line, "hex(TYPE): wants the type in hex digits");
      type = type * 16 + static_cast<std::uint32_t>(HexDigit(c));
    }
    value.type = type;
    value.data = ReadHexBytes(text.substr(close + 2), line);
  } else {
    throw Regedit4Error(line, "unknown value data (a quoted string, dword:, hex:, hex(TYPE): or -)");
  }
  return value;
}

}  // namespace

Regedit4Error::Regedit4Error(int line, const std::string& what)
    : std::runtime_error(line > 0 ? "line " + std::to_string(line) + ": " + what : what), line_(line) {}

std::string WriteRegedit4(const RegFile& file) {
  std::string out = "REGEDIT4\n\n";
  for (const RegFileKey& key : file.keys) {
    if (HoldsLineBreak(key.path)) throw Regedit4Error(0, "key name holds a line break: " + key.path);
    out += (key.deleted ? "[-" : "[") + key.path + "]\n";
    if (!key.deleted) {
      for (const RegFileValue& value : key.values) AppendValue(out, value);
    }
    out += '\n';
  }
  return out;
}

RegFile ReadRegedit4(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::vector<Line> lines = SplitLines(text);
  RegFile file;
  bool sawHeader = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int number = lines[i].number;
    const std::string_view line = Trim(lines[i].text);
    if (line.empty() || line.front() == ';') continue;
    if (!sawHeader) {
      if (line != "REGEDIT4") throw Regedit4Error(number, "the file does not start with REGEDIT4");
      sawHeader = true;
      continue;
    }
    if (line.front() == '[') {
      // The name ends at the last ']' so that a key name may hold one.
      const std::size_t close = line.rfind(']');
      if (close != line.size() - 1) throw Regedit4Error(number, "a key line wants ']' at its end");
      RegFileKey key;
      std::string_view path = line.substr(1, close - 1);
      if (path.starts_with('-')) {
        key.deleted = true;
        path.remove_prefix(1);
      }
      if (path.empty()) throw Regedit4Error(number, "empty key name");
      key.path = std::string(path);
      file.keys.push_back(std::move(key));
      continue;
    }
    if (line.front() != '@' && line.front() != '"') {
      throw Regedit4Error(number, "neither a key, a value nor a comment");
    }
    if (file.keys.empty()) throw Regedit4Error(number, "a value before the first key");
    if (file.keys.back().deleted) throw Regedit4Error(number, "a value under a key being deleted");

    // A value's hex data continues on the next line after a trailing backslash.
    std::string joined(line);
    while (!joined.empty() && joined.back() == '\\' && joined.find("=hex") != std::string::npos) {
      joined.pop_back();
      if (++i >= lines.size()) throw Regedit4Error(number, "the file ends inside a continued value");
      joined += Trim(lines[i].text);
    }
    file.keys.back().values.push_back(ReadValue(joined, number));
  }
  if (!sawHeader) throw Regedit4Error(1, "the file does not start with REGEDIT4");
  return file;
}

}  // namespace qmtool
