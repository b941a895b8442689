#pragma once
// REGEDIT4 text, the format the registry editor exports, over a small in-memory
// model: keys with full paths ("HKEY_LOCAL_MACHINE\Software\X") and their values.
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\Software\X]
//   @="default value"
//   "Name"="text with \\ and \" escaped"
//   "Count"=dword:0000002a
//   "Blob"=hex:01,02,03,\   (continued on the next line)
//     04,05
//   "Other"=hex(7):41,00,00
//   "Gone"=-
//
//   [-HKEY_LOCAL_MACHINE\Software\Old]
//
// A quoted string stands for exactly the bytes between the quotes, with no
// terminating zero: that is how the setup writes its text values. A string
// value whose bytes hold a zero, a line break, or cannot otherwise be written
// between quotes is written as hex(1): instead, so that reading back what was
// written always gives the same bytes.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qmtool {

struct RegFileValue {
  std::string name;  // empty: the key's default value ("@")
  std::uint32_t type = 1;
  std::vector<std::uint8_t> data;
  bool deleted = false;  // "name"=- : remove the value
};

struct RegFileKey {
  std::string path;  // root name first, components joined by single backslashes
  std::vector<RegFileValue> values;
  bool deleted = false;  // [-path] : remove the key with its whole subtree
};

struct RegFile {
  std::vector<RegFileKey> keys;  // in file order
};

// Malformed text; the message starts with "line N: ".
class Regedit4Error : public std::runtime_error {
 public:
  Regedit4Error(int line, const std::string& what);
  int Line() const { return line_; }

 private:
  int line_;
};

// The text of file: "REGEDIT4", a blank line, then every key with its values
// and a blank line after it. Lines end in "\n". Throws Regedit4Error (line 0)
// for a key or value name that holds a line break, which the format cannot carry.
std::string WriteRegedit4(const RegFile& file);

// Reads REGEDIT4 text with "\n" or "\r\n" line ends, blank lines and ";"
// comment lines. Throws Regedit4Error naming the first bad line.
RegFile ReadRegedit4(std::string_view text);

}  // namespace qmtool
