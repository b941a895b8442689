// libFuzzer target of the private-profile reader: any bytes as an INI file
// (the install tables, the install log). Every section and key it lists must
// be found again, and a value written with the writer's own rules must read
// back as written, whatever the file held before.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/profile/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  platform::IniDocument document(std::string(reinterpret_cast<const char*>(data), size));
  for (const std::string& section : document.SectionNames()) {
    FuzzCheck(document.HasSection(section), "a listed section is not found");
    for (const std::string& key : document.KeyNames(section)) {
      FuzzCheck(document.Get(section, key).has_value(), "a listed key has no value");
    }
  }
  // Names and a value the writer accepts: no line breaks, no "=" or "]".
  document.Set("Fuzz Section", "FuzzKey", "1|2|3");
  const auto value = document.Get("Fuzz Section", "FuzzKey");
  FuzzCheck(value.has_value() && *value == "1|2|3", "a written value does not read back");
  platform::IniDocument reread(document.Text());
  const auto reread_value = reread.Get("Fuzz Section", "FuzzKey");
  FuzzCheck(reread_value.has_value() && *reread_value == "1|2|3", "a written file does not read back");
  return 0;
}
