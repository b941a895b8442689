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
// ("NAME=value"), in workingDirectory when one is given, waiting for it to end.
ToolResult RunTool(const std::string& program, const std::vector<std::string>& args,
                   const std::vector<std::string>& env = {}, const std::string& workingDirectory = {});

}  // namespace qmtest
