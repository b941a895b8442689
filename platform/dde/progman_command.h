#pragma once
// Program Manager's execute strings: one or more bracketed commands such as
//   [CreateGroup ("QM2")][AddItem (C:\QM\QM.EXE ,"Quillmark",,0,-1,-1,,,0)]
// An argument is quoted ("text", a doubled "" standing for one quote) or
// unquoted (the text up to the next comma or parenthesis, blanks trimmed); an
// empty argument is allowed, and trailing ones may be left out.

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform::dde {

struct ProgmanCommand {
  std::string name;
  std::vector<std::string> args;
};

class ProgmanCommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raises ProgmanCommandError for a text that is not a command list, or an
// argument holding a control character (group files are line-based).
std::vector<ProgmanCommand> ParseProgmanCommands(std::string_view text);

}  // namespace platform::dde
