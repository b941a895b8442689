#pragma once
// The text of one INI file with an index of its lines: sections in brackets,
// "key=value" lines, anything else kept as it stands. Names compare ignoring
// letter case (ASCII); blanks around names and values do not count. Lines
// outside any section belong to no section. Edits change the text in place and
// keep every other line byte for byte, with the file's own line ends.
//
// Lookups go through a hash index of lower-cased names, so reading one value of
// a log with 10,000 lines costs no scan. Of sections that appear twice, only the
// first counts (the later ones are kept as text but never read or edited). An
// edit at the end of the text indexes only the added lines; any other edit
// reindexes the whole text, which costs no more than the rewrite of the file
// that such an edit needs anyway.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

class IniDocument {
 public:
  IniDocument() = default;
  explicit IniDocument(std::string text);

  const std::string& Text() const { return text_; }

  // Section names in file order, each once, spelled as first written.
  std::vector<std::string> SectionNames() const;
  // Key names of a section in file order, each once, spelled as first written.
  std::vector<std::string> KeyNames(std::string_view section) const;
  bool HasSection(std::string_view section) const;
  // The trimmed value of the first line of that key in the first section of that
  // name; nullopt when there is none. A key line without "=" has an empty value.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;

  // How an edit changed the text: only appended to it, only cut from its end
  // (the last line removed), or changed it elsewhere.
  enum class Change { None, Appended, Truncated, Rewritten };
  // Replaces the value of an existing key, else adds the key after the last line
  // of the section that is not blank, else adds the section and the key at the end.
  Change Set(std::string_view section, std::string_view key, std::string_view value);
  Change RemoveKey(std::string_view section, std::string_view key);
  Change RemoveSection(std::string_view section);

  // Gives the last line its missing line end, if it lacks one.
  void EndLastLine() { Append({}); }

  // The line end the file uses ("\r\n" for a new file).
  std::string_view LineEnd() const { return lineEnd_; }

 private:
  struct Line {
    std::size_t offset;  // of the line's first character
    std::size_t length;  // without its line end
    std::size_t end;     // offset of the next line
  };
  using KeyIndex = std::unordered_multimap<std::size_t, std::size_t>;
  // The first run of lines under a section name: its header and what follows it
  // up to the next header.
  struct Section {
    std::string name;                                   // as first written
    std::size_t header;                                 // line index of "[name]"
    std::size_t lastNonBlank;                           // line index, the header at least
    // Folded hash of a key's name -> the key's first line. The name itself is
    // read from the text: an install log holds a key per file, and a copy of
    // each name doubled what the index cost per line.
    KeyIndex keys;
    std::vector<std::size_t> keyOrder;  // first line of each key, file order
  };
  // Which section the parser is in: before the first header, in a section that
  // is indexed, or in a repeated one that is not.
  static constexpr int kNoSection = -1;
  static constexpr int kRepeatedSection = -2;

  void Reindex();
  // Indexes the lines from offset `from` on, continuing the parser's state.
  void IndexFrom(std::size_t from);
  // Appends text at the end, giving the last line its missing line end first,
  // and indexes the added lines.
  void Append(std::string_view lines);
  const Section* FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKey(const Section& section, std::string_view key) const;
  // The entry of keys for the key named `name` (trimmed), or keys.end().
  KeyIndex::const_iterator KeyEntry(const Section& section, std::string_view name) const;
  std::string_view LineText(std::size_t line) const;
  std::string_view KeyNameOf(std::size_t line) const;

  std::string text_;
  std::string lineEnd_ = "\r\n";
  std::vector<Line> lines_;
  std::vector<Section> sections_;                             // file order
  std::unordered_map<std::string, std::size_t> sectionIndex_;  // lower-cased name -> sections_
  int parseSection_ = kNoSection;
};

// Trims blanks (space, tab) from both ends.
std::string_view TrimBlanks(std::string_view text);
// Compares ignoring ASCII letter case, whatever the process's locale.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// A hash that names equal under EqualsIgnoreCase share.
std::size_t HashIgnoringCase(std::string_view name);
std::string AsciiLower(std::string_view text);

}  // namespace platform
