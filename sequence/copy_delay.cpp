#include "sequence/copy_delay.h"

#include <algorithm>

#include "platform/core/crt_number.h"

int CopyDelayFromText(std::string_view text) {
  return std::clamp<int>(platform::ReadDecimalLong(text), copy_delay::kLowest, copy_delay::kHighest);
}
