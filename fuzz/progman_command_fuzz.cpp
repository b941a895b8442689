// libFuzzer target of Program Manager's command parser: any bytes as the
// execute string a client sends. A text that is not a command list is a
// ProgmanCommandError; a parsed command has a name and keeps every argument
// within the text it came from.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/dde/progman_command.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    for (const platform::dde::ProgmanCommand& command : platform::dde::ParseProgmanCommands(text)) {
      FuzzCheck(!command.name.empty(), "a command without a name");
      FuzzCheck(command.name.size() <= size, "a command name longer than the text");
      for (const auto& argument : command.args) {
        FuzzCheck(argument.size() <= size, "an argument longer than the text");
      }
    }
  } catch (const platform::dde::ProgmanCommandError&) {
  }
  return 0;
}
