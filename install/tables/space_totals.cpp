#include "install/tables/space_totals.h"

#include <algorithm>
#include <limits>

#include "install/tables/destination_table.h"

namespace {

constexpr std::int64_t kBytesPerMegabyte = 1024000;
constexpr std::int64_t kNarrowest = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kWidest = std::numeric_limits<std::int32_t>::max();

}  // namespace

std::int32_t AddClamped(std::int32_t sum, std::int64_t bytes) {
  const std::int64_t wide = static_cast<std::int64_t>(sum) + std::clamp<std::int64_t>(bytes, kNarrowest, kWidest);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(wide, kNarrowest, kWidest));
}

void SpaceTotals::Add(SetupType type, std::int64_t bytes, bool underWindows) {
  SpaceParts& parts = For(type);
  parts.total = AddClamped(parts.total, bytes);
  std::int32_t& part = underWindows ? parts.underWindows : parts.underInstall;
  part = AddClamped(part, bytes);
}

void SpaceTotals::AddToTotal(SetupType type, std::int64_t bytes) {
  SpaceParts& parts = For(type);
  parts.total = AddClamped(parts.total, bytes);
}

std::string MegabytesText(std::int64_t bytes) { return std::to_string(bytes / kBytesPerMegabyte) + "MB"; }

bool IsWindowsPart(const CDestinationTable& destinations, int destinationId) {
  return destinations.RootOf(destinationId) < 0;
}
