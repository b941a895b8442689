#include "tools/qmrc/source_file.h"

#include <fstream>
#include <iterator>

#include "platform/core/text_encoding.h"
#include "tools/qmrc/diagnostics.h"

namespace qmrc {
namespace {

std::string ToUtf8(const std::string& bytes) {
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    return platform::Utf16LeToUtf8(std::string_view(bytes).substr(2));
  }
  if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) return bytes.substr(3);
  if (platform::IsValidUtf8(bytes)) return bytes;
  // The script's code page; its undefined bytes pass through as the C1 codes
  // Windows maps them to.
  std::string out;
  for (char c : bytes) out += Windows1252ToUtf8(static_cast<unsigned char>(c));
  return out;
}

}  // namespace

std::string Windows1252ToUtf8(unsigned char c) {
  const char32_t code = platform::Windows1252CodePoint(c);
  std::string out;
  platform::AppendUtf8(out, code != 0 ? code : c);
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
