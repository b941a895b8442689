#pragma once
// Writing what a compilation produces without disturbing an unchanged build.

#include <filesystem>
#include <string>
#include <vector>

namespace qmrc {

// Replaces the file's content through a temporary file and a rename, and only
// when the content differs, so that a build that changed nothing links nothing.
// Returns whether it wrote. Throws std::runtime_error when it cannot.
bool WriteIfChanged(const std::filesystem::path& file, const std::string& content);

// Replaces the file's content through a temporary file and a rename.
void WriteFile(const std::filesystem::path& file, const std::string& content);

// A make-style dependency file: "target: dep dep ..." with spaces escaped.
std::string DepfileText(const std::filesystem::path& target, const std::vector<std::filesystem::path>& dependencies);

}  // namespace qmrc
