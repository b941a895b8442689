#pragma once
// The subdirectories of a directory, by name.

#include <string>
#include <vector>

// The names of the subdirectories of directory ("." and ".." left out), in the
// order the directory search gives them; empty when it cannot be searched.
std::vector<std::string> SubdirectoryNames(const std::string& directory);
