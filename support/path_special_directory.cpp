// CPath constructed from one of the special directories.

#include <stdexcept>

#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "platform/machine/system_info.h"
#include "support/path.h"

namespace {

std::string SpecialDirectoryText(SpecialDirectory kind) {
  switch (kind) {
    case SpecialDirectory::Current:
      return platform::GetCurrentDirectory();
    case SpecialDirectory::Windows:
      return platform::GetWindowsDirectory();
    case SpecialDirectory::System:
      return platform::GetSystemDirectory();
    case SpecialDirectory::Program:
      return CPath(platform::GetModuleFileName()).GetDriveAndDirectory();
    case SpecialDirectory::Temporary:
      return platform::GetTempPath();
  }
  throw std::invalid_argument("unknown special directory kind " +
                              std::to_string(static_cast<int>(kind)));
}

}  // namespace

CPath::CPath(SpecialDirectory kind) { SetDriveAndDirectory(SpecialDirectoryText(kind)); }
