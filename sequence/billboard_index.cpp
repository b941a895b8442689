#include "sequence/billboard_index.h"

#include <algorithm>

int BillboardIndex(std::uint64_t position, std::uint64_t total) {
  if (total == 0) return 0;
  // The position is at most a few gigabytes: the product stays far below 2^64.
  const std::uint64_t index = position * kBillboardCount / total;
  return static_cast<int>(std::min<std::uint64_t>(index, kBillboardCount - 1));
}
