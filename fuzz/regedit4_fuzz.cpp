// libFuzzer target of the REGEDIT4 reader: any bytes as the text that
// `qmtool reg import` reads. A text it reads must write back to a text that
// reads as the same keys and values; a bad line is a Regedit4Error.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "tools/qmtool/regedit4.h"

namespace {

bool SameKeys(const qmtool::RegFile& a, const qmtool::RegFile& b) {
  if (a.keys.size() != b.keys.size()) return false;
  for (std::size_t i = 0; i < a.keys.size(); ++i) {
    const qmtool::RegFileKey& x = a.keys[i];
    const qmtool::RegFileKey& y = b.keys[i];
    if (x.path != y.path || x.deleted != y.deleted || x.values.size() != y.values.size()) return false;
    for (std::size_t v = 0; v < x.values.size(); ++v) {
      if (x.values[v].name != y.values[v].name || x.values[v].type != y.values[v].type ||
          x.values[v].data != y.values[v].data || x.values[v].deleted != y.values[v].deleted) {
        return false;
      }
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  qmtool::RegFile file;
  try {
    file = qmtool::ReadRegedit4(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const qmtool::Regedit4Error&) {
    return 0;
  }
  std::string written;
  try {
    written = qmtool::WriteRegedit4(file);
  } catch (const qmtool::Regedit4Error&) {
    return 0;  // a name with a line break, which the format cannot carry
  }
  qmtool::RegFile again;
  try {
    again = qmtool::ReadRegedit4(written);
  } catch (const qmtool::Regedit4Error&) {
    FuzzCheck(false, "written REGEDIT4 text does not read back");
  }
  FuzzCheck(SameKeys(file, again), "REGEDIT4 text read back differs from what was written");
  return 0;
}
