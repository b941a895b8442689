#pragma once
// The text of one INI file with an index of its lines: sections in brackets,
// "key=value" lines, anything else kept as it stands. Names compare ignoring
// letter case; blanks around names and values do not count. Lines outside any
// section belong to no section. Edits change the text in place and keep every
// other line byte for byte, with the file's own line ends.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
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

  // How an edit changed the text: only appended to it, or changed it elsewhere.
  enum class Change { None, Appended, Rewritten };
  // Replaces the value of an existing key, else adds the key after the last line
  // of the section that is not blank, else adds the section and the key at the end.
  Change Set(std::string_view section, std::string_view key, std::string_view value);
  Change RemoveKey(std::string_view section, std::string_view key);
  Change RemoveSection(std::string_view section);

  // The line end the file uses ("\r\n" for a new file).
  std::string_view LineEnd() const { return lineEnd_; }

 private:
  enum class LineKind { Other, Section, Key };
  struct Line {
    std::size_t offset;  // of the line's first character
    std::size_t length;  // without its line end
    std::size_t end;     // offset of the next line
    LineKind kind;
    std::string name;  // section or key name, trimmed
    int section;       // index of the section header this line belongs to, -1 for none
  };

  void Reindex();
  int FindSection(std::string_view section) const;  // line index of its header, -1
  int FindKey(int sectionLine, std::string_view key) const;  // line index, -1
  std::string_view LineText(const Line& line) const;

  std::string text_;
  std::vector<Line> lines_;
  std::string lineEnd_ = "\r\n";
};

// Trims blanks (space, tab) from both ends.
std::string_view TrimBlanks(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace platform
