#include "platform/profile/ini_document.h"

#include <algorithm>
#include <cctype>

namespace platform {

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

IniDocument::IniDocument(std::string text) : text_(std::move(text)) {
  const auto lf = text_.find('\n');
  if (lf != std::string::npos) lineEnd_ = (lf > 0 && text_[lf - 1] == '\r') ? "\r\n" : "\n";
  Reindex();
}

std::string_view IniDocument::LineText(const Line& line) const {
  return std::string_view(text_).substr(line.offset, line.length);
}

void IniDocument::Reindex() {
  lines_.clear();
  int section = -1;
  std::size_t pos = 0;
  while (pos < text_.size()) {
    const std::size_t lf = text_.find('\n', pos);
    const std::size_t next = lf == std::string::npos ? text_.size() : lf + 1;
    std::size_t length = (lf == std::string::npos ? text_.size() : lf) - pos;
    if (length > 0 && text_[pos + length - 1] == '\r') --length;

    Line line{pos, length, next, LineKind::Other, {}, section};
    const std::string_view trimmed = TrimBlanks(std::string_view(text_).substr(pos, length));
    if (!trimmed.empty() && trimmed.front() == '[') {
      const std::size_t close = trimmed.find(']');
      line.kind = LineKind::Section;
      line.name = std::string(TrimBlanks(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
      section = static_cast<int>(lines_.size());
      line.section = section;
    } else if (!trimmed.empty() && trimmed.front() != ';' && section >= 0) {
      line.kind = LineKind::Key;
      line.name = std::string(TrimBlanks(trimmed.substr(0, trimmed.find('='))));
    }
    lines_.push_back(std::move(line));
    pos = next;
  }
}

int IniDocument::FindSection(std::string_view section) const {
  const std::string_view wanted = TrimBlanks(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == LineKind::Section && EqualsIgnoreCase(lines_[i].name, wanted)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

int IniDocument::FindKey(int sectionLine, std::string_view key) const {
  const std::string_view wanted = TrimBlanks(key);
  for (std::size_t i = sectionLine + 1; i < lines_.size() && lines_[i].section == sectionLine; ++i) {
    if (lines_[i].kind == LineKind::Key && EqualsIgnoreCase(lines_[i].name, wanted)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

std::vector<std::string> IniDocument::SectionNames() const {
  std::vector<std::string> names;
  for (const Line& line : lines_) {
    if (line.kind != LineKind::Section) continue;
    const bool seen = std::any_of(names.begin(), names.end(),
                                  [&](const std::string& n) { return EqualsIgnoreCase(n, line.name); });
    if (!seen) names.push_back(line.name);
  }
  return names;
}

std::vector<std::string> IniDocument::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  const int header = FindSection(section);
  if (header < 0) return names;
  for (std::size_t i = header + 1; i < lines_.size() && lines_[i].section == header; ++i) {
    if (lines_[i].kind != LineKind::Key) continue;
    const bool seen = std::any_of(names.begin(), names.end(),
                                  [&](const std::string& n) { return EqualsIgnoreCase(n, lines_[i].name); });
    if (!seen) names.push_back(lines_[i].name);
  }
  return names;
}

bool IniDocument::HasSection(std::string_view section) const { return FindSection(section) >= 0; }

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  const int header = FindSection(section);
  if (header < 0) return std::nullopt;
  const int k = FindKey(header, key);
  if (k < 0) return std::nullopt;
  const std::string_view text = LineText(lines_[k]);
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos) return std::string();
  return std::string(TrimBlanks(text.substr(eq + 1)));
}

IniDocument::Change IniDocument::Set(std::string_view section, std::string_view key,
                                     std::string_view value) {
  const std::string keyLine = std::string(TrimBlanks(key)) + "=" + std::string(value);
  const int header = FindSection(section);
  if (header >= 0) {
    const int k = FindKey(header, key);
    if (k >= 0) {
      const Line& line = lines_[k];
      const std::string replacement = line.name + "=" + std::string(value);
      if (LineText(line) == replacement) return Change::None;
      text_.replace(line.offset, line.length, replacement);
      Reindex();
      return Change::Rewritten;
    }
    // After the last line of the section that is not blank.
    std::size_t last = header;
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].section == header; ++i) {
      if (!TrimBlanks(LineText(lines_[i])).empty()) last = i;
    }
    const std::size_t at = lines_[last].end;
    std::string insert;
    if (at == text_.size() && lines_[last].offset + lines_[last].length == text_.size()) {
      insert += lineEnd_;  // the last line has no line end of its own
    }
    insert += keyLine + lineEnd_;
    const bool append = at == text_.size();
    text_.insert(at, insert);
    Reindex();
    return append ? Change::Appended : Change::Rewritten;
  }
  std::string insert;
  if (!text_.empty() && text_.back() != '\n') insert += lineEnd_;
  insert += "[" + std::string(TrimBlanks(section)) + "]" + lineEnd_ + keyLine + lineEnd_;
  text_ += insert;
  Reindex();
  return Change::Appended;
}

IniDocument::Change IniDocument::RemoveKey(std::string_view section, std::string_view key) {
  const int header = FindSection(section);
  if (header < 0) return Change::None;
  const int k = FindKey(header, key);
  if (k < 0) return Change::None;
  text_.erase(lines_[k].offset, lines_[k].end - lines_[k].offset);
  Reindex();
  return Change::Rewritten;
}

IniDocument::Change IniDocument::RemoveSection(std::string_view section) {
  const int header = FindSection(section);
  if (header < 0) return Change::None;
  std::size_t endLine = header + 1;
  while (endLine < lines_.size() && lines_[endLine].section == header) ++endLine;
  const std::size_t from = lines_[header].offset;
  const std::size_t to = endLine < lines_.size() ? lines_[endLine].offset : text_.size();
  text_.erase(from, to - from);
  Reindex();
  return Change::Rewritten;
}

}  // namespace platform
