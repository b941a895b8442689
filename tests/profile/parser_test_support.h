#pragma once
// Helpers of the parser tests: parse a text or a file of a throwaway machine,
// and render a tree compactly so that expectations fit on one line.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "profile/profile_parser.h"
#include "profile/profile_tree.h"
#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"

namespace qmtest {

// "[Section] Key{value}{value} Other" with sections on lines of their own; a
// key without values shows its bare name.
inline std::string Dump(const ProfileFile& file) {
  std::string text;
  for (const ProfileSection& section : file.Sections()) {
    if (!text.empty()) text += '\n';
    text += "[" + section.Name() + "]";
    for (const ProfileKey& key : section.Keys()) {
      text += " " + key.Name();
      for (const std::string& value : key.Values()) text += "{" + value + "}";
    }
  }
  return text;
}

struct ParsedProfile {
  ProfileFile file{"cv_setup.ini"};
  ParseDiagnostics diagnostics;
};

inline ParsedProfile ParseText(std::string_view text) {
  ParsedProfile parsed;
  parsed.diagnostics = ParseProfileText(parsed.file, text);
  return parsed;
}

// A fresh machine and an empty current directory on it, for the tests that
// read files: includes name them relative to the current directory.
class ProfileFilesTest : public ::testing::Test {
 protected:
  ProfileFilesTest() {
    std::filesystem::create_directories(WorkDir());
    std::filesystem::current_path(WorkDir());
  }

  std::filesystem::path WorkDir() const { return machine_.Root() / "work"; }
  void Write(const std::filesystem::path& name, const std::string& text) const {
    WriteFileText(WorkDir() / name, text);
  }
  ParsedProfile ParseFile(const std::string& name) const {
    ParsedProfile parsed;
    parsed.file = ProfileFile(name);
    parsed.diagnostics = parsed.file.Load();
    return parsed;
  }

 private:
  TempMachineRoot machine_;  // puts the current directory back when it goes
};

}  // namespace qmtest
