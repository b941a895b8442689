#pragma once
// Runs a program of build/bin as a user would and collects what it printed.

#include <string>
#include <vector>

namespace qmtest {

struct ToolResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs QM_BIN_DIR/program with args (no shell) and the extra environment entries
// ("NAME=value", replacing an inherited entry of the same name), in
// workingDirectory when one is given, waiting for it to end.
ToolResult RunTool(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env = {}, const std::string& workingDirectory = {});

// The same for a program anywhere: path is used as given, and is its argv[0]
// (a copy of a program made by the test, for example).
ToolResult RunProgram(const std::string& path, const std::vector<std::string>& args,
                      const std::vector<std::string>& env = {}, const std::string& workingDirectory = {});

}  // namespace qmtest
