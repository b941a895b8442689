// libFuzzer target of the shell-link reader: any bytes as a ".lnk" file. A
// file it reads must encode to a link that reads back the same; damaged or
// short input is a ShellLinkFormatError and nothing else.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "platform/shelllink/shell_link.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  platform::ShellLink link;
  try {
    link = platform::DecodeShellLink(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const platform::ShellLinkFormatError&) {
    return 0;
  }
  std::string encoded;
  try {
    encoded = platform::EncodeShellLink(link);
  } catch (const platform::ShellLinkFormatError&) {
    return 0;  // a text too long for the format
  }
  platform::ShellLink again;
  try {
    again = platform::DecodeShellLink(encoded);
  } catch (const platform::ShellLinkFormatError&) {
    FuzzCheck(false, "an encoded link does not decode");
  }
  link.showCommand = platform::StoredShowCommand(link.showCommand);
  // The drive type is part of the target's link info, which a link without a
  // target does not carry.
  if (link.target.empty()) link.driveType = again.driveType;
  FuzzCheck(again == link, "a link read back differs from what was encoded");
  return 0;
}
