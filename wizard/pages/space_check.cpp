#include "wizard/pages/space_check.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>

#include <QString>

#include "install/tables/destination_table.h"
#include "support/path.h"

namespace {

// The largest diskette a product may not be installed to: 1.44 MB.
constexpr std::uint64_t kLargestDiskette = 1474560;

bool SameDrive(const CPath& a, const CPath& b) {
  return QString::fromStdString(a.GetRoot().Text()).compare(QString::fromStdString(b.GetRoot().Text()),
                                                            Qt::CaseInsensitive) == 0;
}

bool Holds(const CPath& drive, std::int32_t bytes) { return DriveFreeBytes(drive.Text()) >= bytes; }

}  // namespace

bool FitsOnDisk(const CDestinationTable& destinations, const SpaceParts& needed) {
  const CPath install(destinations.PathOf(CDestinationTable::kInstallDirectory));
  const CPath windows(destinations.PathOf(CDestinationTable::kWindowsDirectory));
  if (SameDrive(install, windows)) return Holds(install, needed.total);
  return Holds(install, needed.underInstall) && Holds(windows, needed.underWindows);
}

bool IsDisketteDrive(std::string_view path) {
  const CPath drive(path);
  return drive.IsRemovable() && drive.GetTotalBytes() <= kLargestDiskette;
}

std::int64_t DriveFreeBytes(std::string_view path) {
  // Held within the signed range, so that it compares with the totals as a count.
  constexpr std::uint64_t kWidest = std::numeric_limits<std::int64_t>::max();
  return static_cast<std::int64_t>(std::min(CPath(path).GetFreeBytes(), kWidest));
}
