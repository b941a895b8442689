#include "platform/profile/ini_document.h"

#include <algorithm>
#include <cstdint>

namespace platform {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }


}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return LowerAscii(x) == LowerAscii(y);
         });
}

std::size_t HashIgnoringCase(std::string_view name) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a over the lower-cased bytes
  for (char c : name) {
    hash ^= static_cast<unsigned char>(LowerAscii(c));
    hash *= 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), LowerAscii);
  return lower;
}

IniDocument::IniDocument(std::string text) : text_(std::move(text)) {
  const auto lf = text_.find('\n');
  if (lf != std::string::npos) lineEnd_ = (lf > 0 && text_[lf - 1] == '\r') ? "\r\n" : "\n";
  Reindex();
}

std::string_view IniDocument::LineText(std::size_t line) const {
  return std::string_view(text_).substr(lines_[line].offset, lines_[line].length);
}

std::string_view IniDocument::KeyNameOf(std::size_t line) const {
  const std::string_view text = TrimBlanks(LineText(line));
  return TrimBlanks(text.substr(0, text.find('=')));
}

void IniDocument::Reindex() {
  lines_.clear();
  sections_.clear();
  sectionIndex_.clear();
  parseSection_ = kNoSection;
  IndexFrom(0);
}

void IniDocument::IndexFrom(std::size_t pos) {
  while (pos < text_.size()) {
    const std::size_t lf = text_.find('\n', pos);
    const std::size_t next = lf == std::string::npos ? text_.size() : lf + 1;
    std::size_t length = (lf == std::string::npos ? text_.size() : lf) - pos;
    if (length > 0 && text_[pos + length - 1] == '\r') --length;
    const std::size_t index = lines_.size();
    lines_.push_back(Line{pos, length, next});
    pos = next;

    const std::string_view trimmed = TrimBlanks(LineText(index));
    if (!trimmed.empty() && trimmed.front() == '[') {
      const std::size_t close = trimmed.find(']');
      const std::string_view name =
          TrimBlanks(trimmed.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
      const auto [it, added] = sectionIndex_.emplace(AsciiLower(name), sections_.size());
      if (added) {
        sections_.push_back(Section{std::string(name), index, index, {}, {}});
        parseSection_ = static_cast<int>(it->second);
      } else {
        parseSection_ = kRepeatedSection;
      }
      continue;
    }
    if (parseSection_ < 0 || trimmed.empty()) continue;
    Section& section = sections_[static_cast<std::size_t>(parseSection_)];
    section.lastNonBlank = index;
    if (trimmed.front() == ';') continue;  // a comment
    const std::string_view name = KeyNameOf(index);
    if (KeyEntry(section, name) == section.keys.end()) {
      section.keys.emplace(HashIgnoringCase(name), index);
      section.keyOrder.push_back(index);
    }
  }
}

void IniDocument::Append(std::string_view lines) {
  const std::size_t from = text_.size();
  if (!text_.empty() && text_.back() != '\n') {
    // The last line has no line end of its own; it keeps its length, only its end moves.
    text_ += text_.back() == '\r' ? std::string_view("\n") : std::string_view(lineEnd_);
    lines_.back().end = text_.size();
  }
  text_ += lines;
  IndexFrom(std::max(from, lines_.empty() ? 0 : lines_.back().end));
}

const IniDocument::Section* IniDocument::FindSection(std::string_view section) const {
  const auto it = sectionIndex_.find(AsciiLower(TrimBlanks(section)));
  return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

IniDocument::KeyIndex::const_iterator IniDocument::KeyEntry(const Section& section, std::string_view name) const {
  auto [it, last] = section.keys.equal_range(HashIgnoringCase(name));
  for (; it != last; ++it) {
    if (EqualsIgnoreCase(KeyNameOf(it->second), name)) return it;
  }
  return section.keys.end();
}

std::optional<std::size_t> IniDocument::FindKey(const Section& section, std::string_view key) const {
  const auto it = KeyEntry(section, TrimBlanks(key));
  if (it == section.keys.end()) return std::nullopt;
  return it->second;
}

std::vector<std::string> IniDocument::SectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& section : sections_) names.push_back(section.name);
  return names;
}

std::vector<std::string> IniDocument::KeyNames(std::string_view section) const {
  std::vector<std::string> names;
  const Section* found = FindSection(section);
  if (!found) return names;
  names.reserve(found->keyOrder.size());
  for (const std::size_t line : found->keyOrder) names.emplace_back(KeyNameOf(line));
  return names;
}

bool IniDocument::HasSection(std::string_view section) const { return FindSection(section) != nullptr; }

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  const Section* found = FindSection(section);
  if (!found) return std::nullopt;
  const auto line = FindKey(*found, key);
  if (!line) return std::nullopt;
  const std::string_view text = LineText(*line);
  const std::size_t eq = text.find('=');
  if (eq == std::string_view::npos) return std::string();
  return std::string(TrimBlanks(text.substr(eq + 1)));
}

IniDocument::Change IniDocument::Set(std::string_view section, std::string_view key,
                                     std::string_view value) {
  std::string keyLine(TrimBlanks(key));
  keyLine += '=';
  keyLine += value;
  const Section* found = FindSection(section);
  if (!found) {
    std::string added = "[" + std::string(TrimBlanks(section)) + "]";
    added += lineEnd_;
    added += keyLine;
    added += lineEnd_;
    Append(added);
    return Change::Appended;
  }
  if (const auto line = FindKey(*found, key)) {
    // The key keeps the spelling it was first written with.
    std::string replacement(KeyNameOf(*line));
    replacement += '=';
    replacement += value;
    if (LineText(*line) == replacement) return Change::None;
    text_.replace(lines_[*line].offset, lines_[*line].length, replacement);
    Reindex();
    return Change::Rewritten;
  }
  keyLine += lineEnd_;
  const std::size_t last = found->lastNonBlank;
  if (last + 1 == lines_.size()) {
    Append(keyLine);
    return Change::Appended;
  }
  text_.insert(lines_[last].end, keyLine);
  Reindex();
  return Change::Rewritten;
}

IniDocument::Change IniDocument::RemoveKey(std::string_view section, std::string_view key) {
  const Section* found = FindSection(section);
  if (!found) return Change::None;
  const auto line = FindKey(*found, key);
  if (!line) return Change::None;
  if (lines_[*line].end == text_.size()) {
    // The last line of the text, so the last of the section's first run: only
    // that line's index goes, without parsing the text again (the install
    // log takes back its newest line once per file).
    Section& owner = sections_[static_cast<std::size_t>(found - sections_.data())];
    owner.keys.erase(KeyEntry(owner, KeyNameOf(*line)));
    owner.keyOrder.pop_back();
    text_.resize(lines_[*line].offset);
    lines_.pop_back();
    owner.lastNonBlank = owner.header;
    for (std::size_t i = lines_.size(); i-- > owner.header + 1;) {
      if (!TrimBlanks(LineText(i)).empty()) {
        owner.lastNonBlank = i;
        break;
      }
    }
    return Change::Truncated;
  }
  text_.erase(lines_[*line].offset, lines_[*line].end - lines_[*line].offset);
  Reindex();
  return Change::Rewritten;
}

IniDocument::Change IniDocument::RemoveSection(std::string_view section) {
  const Section* found = FindSection(section);
  if (!found) return Change::None;
  // The section runs up to the next header, whether that header is indexed or a repeat.
  std::size_t endLine = found->header + 1;
  while (endLine < lines_.size()) {
    const std::string_view trimmed = TrimBlanks(LineText(endLine));
    if (!trimmed.empty() && trimmed.front() == '[') break;
    ++endLine;
  }
  const std::size_t from = lines_[found->header].offset;
  const std::size_t to = endLine < lines_.size() ? lines_[endLine].offset : text_.size();
  text_.erase(from, to - from);
  Reindex();
  return Change::Rewritten;
}

}  // namespace platform
