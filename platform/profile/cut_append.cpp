#include "platform/profile/cut_append.h"

namespace platform {

std::size_t LengthWithoutCutLine(std::string_view text) {
  if (text.empty() || text.back() == '\n' || text.size() % kCutAppendPageSize != 0) return text.size();
  const std::size_t lf = text.rfind('\n');
  return lf == std::string_view::npos ? 0 : lf + 1;
}

}  // namespace platform
