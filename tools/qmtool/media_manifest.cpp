#include "tools/qmtool/media_manifest.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <system_error>

namespace qmtool {
namespace {

namespace fs = std::filesystem;

constexpr int kLastDiskette = 24;  // the diskette table's last label
// Labels (and the title that default labels are made of) stay short enough
// that a diskette keeps room for data beside its tag file.
constexpr std::size_t kLongestText = 100;

std::string Trim(std::string_view text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return std::string(text.substr(begin, end - begin));
}

// INI section and key names are told apart without regard to case.
std::string Folded(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Sections of the install tables file that a group's own section must not be.
bool IsTablesSection(const std::string& name) {
  const std::string folded = Folded(name);
  return folded == "destinations" || folded == "groups" || folded == "targets" || folded == "diskettes";
}

std::vector<std::string> Fields(const std::string& value) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t bar = value.find('|', start);
    fields.push_back(value.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) return fields;
    start = bar + 1;
  }
}

std::optional<long long> Integer(const std::string& text) {
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::size_t i = (text[0] == '-') ? 1 : 0;
  if (i == text.size()) return std::nullopt;
  for (std::size_t j = i; j < text.size(); ++j) {
    if (!std::isdigit(static_cast<unsigned char>(text[j]))) return std::nullopt;
  }
  return std::stoll(text);
}

long long IntegerIn(const std::string& text, long long low, long long high, const std::string& what, int line) {
  const std::optional<long long> value = Integer(text);
  if (!value || *value < low || *value > high) {
    throw ManifestError(line, what + " must be a whole number from " + std::to_string(low) + " to " +
                                  std::to_string(high) + ", not '" + text + "'");
  }
  return *value;
}

std::vector<std::string> FieldsOf(const std::string& value, std::size_t count, const std::string& what, int line) {
  std::vector<std::string> fields = Fields(value);
  if (fields.size() != count) {
    throw ManifestError(line, what + " needs " + std::to_string(count) + " fields separated by '|', not " +
                                  std::to_string(fields.size()));
  }
  return fields;
}

class ManifestReader {
 public:
  explicit ManifestReader(const fs::path& manifest) : manifest_(manifest) {}

  MediaManifest Read() {
    std::ifstream in(manifest_, std::ios::binary);
    if (!in) throw ManifestError(0, "cannot be read");
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
      ++number;
      if (!text.empty() && text.back() == '\r') text.pop_back();
      Line(Trim(text), number);
    }
    Check();
    return std::move(result_);
  }

 private:
  void Line(const std::string& text, int line) {
    if (text.empty() || text[0] == ';' || text[0] == '#') return;
    if (text[0] == '[') {
      if (text.back() != ']') throw ManifestError(line, "a section line ends with ']'");
      Section(Trim(std::string_view(text).substr(1, text.size() - 2)), line);
      return;
    }
    const std::size_t equals = text.find('=');
    if (equals == std::string::npos) throw ManifestError(line, "expected 'key = value', '[section]' or a comment");
    const std::string key = Trim(std::string_view(text).substr(0, equals));
    const std::string value = Trim(std::string_view(text).substr(equals + 1));
    if (key.empty()) throw ManifestError(line, "a line without a key");
    if (section_.empty()) throw ManifestError(line, "'" + key + "' comes before any section");
    Entry(key, value, line);
  }

  void Section(const std::string& name, int line) {
    if (name == "product" || name == "diskettes" || name == "groups" || name == "destinations" ||
        name == "targets" || name == "plain") {
      if (!seenSections_.insert(name).second) throw ManifestError(line, "section [" + name + "] appears twice");
      sectionLines_[name] = line;
      section_ = name;
      return;
    }
    if (name.rfind("archive ", 0) == 0) {
      const std::string file = Trim(std::string_view(name).substr(8));
      if (file.empty() || file.find_first_of("/\\:|[]") != std::string::npos ||
          !std::isalnum(static_cast<unsigned char>(file.back()))) {
        throw ManifestError(line, "an archive's name is a file name ending in a letter or digit, not '" + file + "'");
      }
      for (const MediaArchive& archive : result_.archives) {
        if (archive.name == file) throw ManifestError(line, "archive " + file + " appears twice");
      }
      MediaArchive archive;
      archive.name = file;
      archive.line = line;
      result_.archives.push_back(std::move(archive));
      section_ = "archive";
      return;
    }
    throw ManifestError(line, "unknown section [" + name + "]");
  }

  void Entry(const std::string& key, const std::string& value, int line) {
    if (section_ == "product") return Product(key, value, line);
    if (section_ == "diskettes") {
      const long long disk = IntegerIn(key, 1, kLastDiskette, "a diskette number", line);
      if (value.empty() || value.size() > kLongestText) {
        throw ManifestError(line, "a diskette's label has 1 to " + std::to_string(kLongestText) + " characters");
      }
      return Add(result_.diskettes, std::to_string(disk), value, line, "diskette");
    }
    if (section_ == "groups") {
      if (key.find_first_of("[]|") != std::string::npos || IsTablesSection(key)) {
        throw ManifestError(line, "'" + key + "' cannot name a group: its section would be a table's");
      }
      const auto fields = FieldsOf(value, 5, "a group", line);
      for (std::size_t i = 2; i < 5; ++i) IntegerIn(fields[i], 0, 1, "a group's flag", line);
      return Add(result_.groups, key, value, line, "group");
    }
    if (section_ == "destinations") {
      IntegerIn(key, 0, INT16_MAX, "a destination id", line);
      const auto fields = FieldsOf(value, 3, "a destination", line);
      if (!fields[1].empty()) IntegerIn(fields[1], -5, INT16_MAX, "a parent id", line);
      return Add(result_.destinations, std::to_string(std::stoll(key)), value, line, "destination");
    }
    if (section_ == "targets") {
      const auto fields = FieldsOf(value, 7, "a target", line);
      IntegerIn(fields[0], 0, INT32_MAX, "an icon index", line);
      IntegerIn(fields[1], -1, INT32_MAX, "a hotkey", line);
      IntegerIn(fields[2], 0, 1, "the minimized flag", line);
      return Add(result_.targets, key, value, line, "target");
    }
    if (section_ == "plain") {
      if (key != "file") throw ManifestError(line, "[plain] holds only 'file = PATH|GROUP|DESTINATION[|late]'");
      std::vector<std::string> fields = Fields(value);
      const bool late = fields.size() == 4 && fields[3] == "late";
      if (late) fields.pop_back();
      if (fields.size() != 3) throw ManifestError(line, "a plain file is PATH|GROUP|DESTINATION, optionally |late");
      result_.plainFiles.push_back({TreePath(fields[0], line), Destination(fields[2], line), fields[1], late, line});
      return;
    }
    MediaArchive& archive = result_.archives.back();
    if (key == "method") {
      if (value != "lh5" && value != "stored") throw ManifestError(line, "method is lh5 or stored, not '" + value + "'");
      archive.compressed = value == "lh5";
    } else if (key == "group") {
      if (!archive.group.empty()) throw ManifestError(line, "the archive's group is given twice");
      archive.group = value;
      groupLines_[&archive - result_.archives.data()] = line;
    } else if (key == "file") {
      const auto fields = FieldsOf(value, 2, "an archive's file", line);
      archive.files.push_back({TreePath(fields[0], line), Destination(fields[1], line), {}, false, line});
    } else if (key == "late") {
      archive.late = IntegerIn(value, 0, 1, "late", line) == 1;
    } else {
      throw ManifestError(line, "unknown key '" + key + "' in an archive (method, group, late, file)");
    }
  }

  void Product(const std::string& key, const std::string& value, int line) {
    if (!productKeys_.insert(key).second) throw ManifestError(line, "'" + key + "' is given twice");
    productLines_[key] = line;
    if (key == "title") {
      if (value.empty() || value.size() > kLongestText) {
        throw ManifestError(line, "the title has 1 to " + std::to_string(kLongestText) + " characters");
      }
      result_.title = value;
    } else if (key == "tree") {
      tree_ = value;
    } else if (key == "disk size") {
      result_.diskSize = static_cast<uint64_t>(IntegerIn(value, 16384, INT32_MAX, "the disk size", line));
      result_.diskSizeLine = line;
    } else if (key == "setup" || key == "profile" || key == "licence") {
      treeFiles_[key] = value;
    } else {
      throw ManifestError(line, "unknown key '" + key + "' in [product] (title, tree, disk size, setup, profile, licence)");
    }
  }

  void Add(std::vector<ManifestLine>& lines, const std::string& key, const std::string& value, int line,
           const std::string& what) {
    for (const ManifestLine& other : lines) {
      if (Folded(other.key) == Folded(key)) throw ManifestError(line, what + " " + key + " is given twice");
    }
    lines.push_back({key, value, line});
  }

  // Tree paths are relative, with "/" between parts, and stay inside the tree.
  fs::path TreePath(const std::string& text, int line) {
    const fs::path path(text);
    if (text.empty() || path.is_absolute() || text.find('\\') != std::string::npos ||
        std::any_of(path.begin(), path.end(), [](const fs::path& part) { return part == ".." || part == "."; })) {
      throw ManifestError(line, "'" + text + "' is not a path inside the product tree");
    }
    fileLines_.push_back({path, line});
    return path;
  }

  std::int16_t Destination(const std::string& text, int line) {
    const auto id = static_cast<std::int16_t>(IntegerIn(text, -5, INT16_MAX, "a destination id", line));
    destinationUses_.push_back({id, line});
    return id;
  }

  void Check() {
    // What is missing is reported at its section's line, else at the first.
    const auto at = [this](const std::string& section) {
      const auto found = sectionLines_.find(section);
      return found == sectionLines_.end() ? 1 : found->second;
    };
    for (const char* key : {"title", "tree", "disk size", "setup", "profile", "licence"}) {
      if (!productKeys_.count(key)) throw ManifestError(at("product"), std::string("[product] needs '") + key + "'");
    }
    result_.tree = fs::absolute(manifest_).parent_path() / tree_;
    std::error_code ec;
    if (!fs::is_directory(result_.tree, ec)) {
      throw ManifestError(productLines_["tree"], "the product tree " + result_.tree.string() + " is not a directory");
    }
    for (const auto& [key, text] : treeFiles_) {
      fs::path path = TreePath(text, productLines_[key]);
      if (key == "setup") result_.setup = path;
      if (key == "profile") result_.profile = path;
      if (key == "licence") result_.licence = path;
    }
    if (result_.setup.extension().empty()) {
      throw ManifestError(productLines_["setup"], "the setup program's name needs an extension");
    }
    for (const auto& [path, line] : fileLines_) {
      if (!fs::is_regular_file(result_.tree / path, ec)) {
        throw ManifestError(line, path.generic_string() + " is not a file of the product tree");
      }
    }
    if (result_.destinations.empty()) throw ManifestError(at("destinations"), "[destinations] needs at least one line");
    for (const auto& [id, line] : destinationUses_) {
      // Copied: clang before 16 refuses a lambda that names a structured binding.
      const std::string key = std::to_string(id);
      const bool known = id < -1 || std::any_of(result_.destinations.begin(), result_.destinations.end(),
                                                [&key](const ManifestLine& d) { return d.key == key; });
      if (!known) throw ManifestError(line, "destination " + std::to_string(id) + " is not in [destinations]");
    }
    std::set<std::string> names;
    for (std::size_t i = 0; i < result_.archives.size(); ++i) {
      MediaArchive& archive = result_.archives[i];
      if (archive.group.empty()) throw ManifestError(archive.line, "archive " + archive.name + " needs a group");
      CheckGroup(archive.group, groupLines_[i]);
      if (archive.files.empty()) throw ManifestError(archive.line, "archive " + archive.name + " holds no file");
      std::set<std::string> members;
      for (const MediaFile& file : archive.files) {
        if (!members.insert(Folded(file.path.filename().string())).second) {
          throw ManifestError(file.line, "archive " + archive.name + " already holds a file named " +
                                             file.path.filename().string());
        }
      }
      if (!names.insert(Folded(archive.name)).second) throw ManifestError(archive.line, archive.name + " is named twice");
    }
    for (const MediaFile& file : result_.plainFiles) {
      CheckGroup(file.group, file.line);
      if (!names.insert(Folded(file.path.filename().string())).second) {
        throw ManifestError(file.line, file.path.filename().string() + " is already a file of the media");
      }
    }
  }

  void CheckGroup(const std::string& name, int line) {
    const bool known = std::any_of(result_.groups.begin(), result_.groups.end(),
                                   [&](const ManifestLine& group) { return group.key == name; });
    if (!known) throw ManifestError(line, "group '" + name + "' is not in [groups]");
  }

  fs::path manifest_;
  MediaManifest result_;
  std::string section_;
  std::set<std::string> seenSections_, productKeys_;
  std::map<std::string, int> productLines_, sectionLines_;
  std::map<std::string, std::string> treeFiles_;
  std::string tree_;
  std::map<std::size_t, int> groupLines_;
  std::vector<std::pair<fs::path, int>> fileLines_;
  std::vector<std::pair<std::int16_t, int>> destinationUses_;
};

}  // namespace

MediaManifest ReadMediaManifest(const std::filesystem::path& manifest) { return ManifestReader(manifest).Read(); }

}  // namespace qmtool
