// libFuzzer target of the profile parser: any bytes as a setup profile. The
// input is parsed from memory; its includes name the small files that
// LLVMFuzzerInitialize writes into a temporary current directory (the same
// texts as the include seeds of the corpus), so that includes, nesting and
// the recursion guards run too. After the parse, cheap invariants of the tree
// and the diagnostics are checked; a violation aborts, which libFuzzer reports.

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/machine/machine.h"
#include "profile/profile_parser.h"
#include "profile/profile_scanner.h"

namespace {

// Short names, so that the fuzzer finds them; they end in every interesting way.
struct IncludeFile {
  const char* name;
  const char* text;
};
constexpr IncludeFile kIncludeFiles[] = {
    {"a", "[Inc]\nK=V\nL=\nm1\n\"m 2\"\n"},        // sections, keys and a list
    {"b", "m1\nm2 ; c\n\"q;=#\"\n"},              // list members only
    {"c", "#include \"c\"\nX=1\n"},               // includes itself
    {"d", "A=1\n#include \"e\"\n"},               // d and e include each other
    {"e", "B=2\n#include \"d\"\nC=3\n"},
    {"f", "K=\"unterminated"},                   // ends inside a quoted value
    {"g", "A=1 ; comment without line end"},     // ends inside a comment
    {"h", "K="},                                 // ends after "="
    {"i", "[Head"},                              // ends inside a header
    {"j", "#include \"j2"},                      // ends inside an include name
    {"k", "#include \"a\"\n#include \"b\"\n"},   // nests further
};

std::filesystem::path g_root;

void RemoveRoot() {
  std::error_code ignored;
  std::filesystem::current_path("/", ignored);
  std::filesystem::remove_all(g_root, ignored);
}

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "profile parser invariant broken: %s\n", what);
    std::abort();
  }
}

bool IsWord(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c == '\0' || ProfileScanner::kProfileSpecialCharacters.find(c) != std::string_view::npos) return false;
  }
  return true;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

void CheckInvariants(const ProfileFile& file, const ParseDiagnostics& diagnostics) {
  std::size_t sectionItems = 0;
  std::size_t entryItems = 0;  // one per key and one per value
  for (const std::string& item : diagnostics.foundItems) {
    if (StartsWith(item, "Section Name\t->")) {
      ++sectionItems;
    } else if (!StartsWith(item, "Comment\t->")) {
      ++entryItems;
    }
  }
  std::size_t entries = 0;
  for (const ProfileSection& section : file.Sections()) {
    // Names are built from words only; blanks and line ends inside brackets are dropped.
    Check(section.Name().find_first_of(ProfileScanner::kProfileSpecialCharacters) == std::string::npos,
          "a section name holds a special character");
    Check(section.Name().find('\0') == std::string::npos, "a section name holds a NUL");
    for (const ProfileKey& key : section.Keys()) {
      Check(IsWord(key.Name()), "a key name is not a word");
      ++entries;
      for (const std::string& value : key.Values()) {
        // Line ends are dropped from quoted values, a NUL or a quote ends them.
        Check(value.find_first_of(std::string_view("\n\r\"\0", 4)) == std::string::npos,
              "a value holds a line end, a quote or a NUL");
        ++entries;
      }
    }
  }
  // Every builder call is announced once, and none was dropped for want of a
  // section or a key.
  Check(sectionItems == file.Sections().size(), "sections and their found items differ");
  Check(entryItems == entries, "keys and values differ from their found items");
  for (const std::string& error : diagnostics.errors) {
    Check(StartsWith(error, "Line ") || StartsWith(error, "Internal ") || StartsWith(error, "Include of '") ||
              error == ParserContext::kErrorListFull,
          "an error line of an unknown form");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (std::filesystem::temp_directory_path() / "qm-profile-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  g_root = pattern;
  std::atexit(RemoveRoot);
  // A machine of its own, so that nothing outside the temporary root is touched.
  platform::UseMachine(g_root / "machine");
  std::filesystem::create_directories(g_root / "work");
  for (const IncludeFile& include : kIncludeFiles) {
    std::ofstream(g_root / "work" / include.name, std::ios::binary) << include.text;
  }
  std::filesystem::current_path(g_root / "work");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  ProfileFile file("fuzz.ini");
  const ParseDiagnostics diagnostics =
      ParseProfileText(file, std::string_view(reinterpret_cast<const char*>(data), size));
  CheckInvariants(file, diagnostics);
  return 0;
}
