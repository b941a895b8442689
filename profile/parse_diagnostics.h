#pragma once
// What a parse of the setup profile noticed, for diagnosis only: the setup
// itself never shows these lists; "qmtool profile check" prints them.

#include <string>
#include <vector>

struct ParseDiagnostics {
  std::vector<std::string> trace;       // one line per state change
  std::vector<std::string> foundItems;  // sections, keys, values and comments as they were found
  std::vector<std::string> errors;      // grammar errors ("Line 3-> ...") and internal errors
};
