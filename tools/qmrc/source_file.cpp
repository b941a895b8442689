#include "tools/qmrc/source_file.h"

#include <fstream>
#include <iterator>

#include "tools/qmrc/diagnostics.h"

namespace qmrc {
namespace {

// Code points of 0x80..0x9F in Windows-1252; 0 where the code page leaves a hole.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool IsValidUtf8(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    size_t follow = 0;
    if (c >= 0x80) {
      if ((c & 0xE0) == 0xC0) {
        follow = 1;
      } else if ((c & 0xF0) == 0xE0) {
        follow = 2;
      } else if ((c & 0xF8) == 0xF0) {
        follow = 3;
      } else {
        return false;
      }
    }
    for (size_t k = 1; k <= follow; ++k) {
      if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += follow + 1;
  }
  return true;
}

std::string Utf16LeToUtf8(const std::string& bytes, size_t start) {
  std::string out;
  for (size_t i = start; i + 1 < bytes.size(); i += 2) {
    char32_t unit = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
      const char32_t low = static_cast<unsigned char>(bytes[i + 2]) | (static_cast<unsigned char>(bytes[i + 3]) << 8);
      if (low >= 0xDC00 && low < 0xE000) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    AppendUtf8(out, unit);
  }
  return out;
}

std::string ToUtf8(const std::string& bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') return Utf16LeToUtf8(bytes, 2);
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) return bytes.substr(3);
  if (IsValidUtf8(bytes)) return bytes;
  std::string out;
  for (char c : bytes) out += Windows1252ToUtf8(static_cast<unsigned char>(c));
  return out;
}

}  // namespace

std::string Windows1252ToUtf8(unsigned char c) {
  std::string out;
  char32_t code = c;
  if (c >= 0x80 && c < 0xA0 && kWindows1252High[c - 0x80] != 0) code = kWindows1252High[c - 0x80];
  AppendUtf8(out, code);
  return out;
}

std::vector<std::string> StripComments(const std::string& text, const std::string& fileName) {
  std::vector<std::string> lines(1);
  bool inString = false;
  bool inBlockComment = false;
  int blockCommentLine = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (c == '\r' && next == '\n') continue;
    if (c == '\n' || c == '\r') {
      lines.emplace_back();
      inString = false;  // the tokenizer reports the unterminated string
      continue;
    }
    std::string& line = lines.back();
    if (inBlockComment) {
      if (c == '*' && next == '/') {
        inBlockComment = false;
        line += ' ';
        ++i;
      }
      continue;
    }
    if (inString) {
      line += c;
      if (c == '\\' && next != '\0' && next != '\n' && next != '\r') {
        line += next;
        ++i;
      } else if (c == '"') {
        inString = false;  // a doubled quote reopens the string at once
      }
      continue;
    }
    if (c == '"') {
      inString = true;
      line += c;
    } else if (c == '/' && next == '/') {
      while (i + 1 < text.size() && text[i + 1] != '\n' && text[i + 1] != '\r') ++i;
    } else if (c == '/' && next == '*') {
      inBlockComment = true;
      blockCommentLine = static_cast<int>(lines.size());
      ++i;
    } else {
      line += c;
    }
  }
  if (inBlockComment) throw CompileError({fileName, blockCommentLine}, "unterminated comment");
  return lines;
}

std::vector<std::string> ReadSourceLines(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw CompileError({file.string(), 0}, "cannot open file");
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw CompileError({file.string(), 0}, "cannot read file");
  return StripComments(ToUtf8(bytes), file.string());
}

}  // namespace qmrc
