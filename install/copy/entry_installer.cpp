#include "install/copy/entry_installer.h"

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <optional>

#include "install/copy/replace_rule.h"
#include "install/errors/multi_file_exception.h"
#include "install/errors/xexception.h"
#include "install/log/install_log.h"
#include "install/tables/destination_table.h"
#include "platform/fs/file_ops.h"
#include "support/path.h"

bool DeleteOwnFile(const std::string& path) {
  if (!platform::FileExists(path)) return true;
  const uint32_t attributes = platform::GetFileAttributes(path);
  if (attributes != platform::kInvalidAttributes && (attributes & platform::kAttrReadOnly) != 0) {
    platform::SetFileAttributes(path, attributes & ~platform::kAttrReadOnly);
  }
  return platform::DeleteFile(path);
}

namespace {

// A name a damaged header may give: empty, "." or "..", or with characters no
// Windows file name holds. Placing a file under it would lose the file, or put
// it over the directory it names.
bool IsUsableFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || std::string_view("<>\"|?*").find(c) != std::string_view::npos;
  });
}

std::string PrepareDestination(const CArchiveEntry& entry, const CDestinationTable& destinations) {
  if (!IsUsableFileName(entry.GetFileName())) throw CMultiFileException(CMultiFileException::kMissingEntryHeader);
  const int id = entry.Header().DestinationId();
  const std::string directory = destinations.PathOf(id);
  if (directory.empty()) throw CXFileException(platform::FileCause::BadPath, entry.GetFileName());
  CPath path;
  path.SetDriveAndDirectory(directory);
  path.EnsureDirectory();
  return JoinDirectory(directory, entry.GetFileName());
}

void MoveIntoPlace(const std::string& temporary, const std::string& destination) {
  if (platform::MoveFile(temporary, destination)) return;
  const int error = errno;
  DeleteOwnFile(temporary);
  throw platform::FileException::FromErrno(error, destination);
}

}  // namespace

void InstallEntry(CArchiveReader& reader, CArchiveEntry& entry, const std::string& group,
                  const EntryPlacement& placement) {
  entry.SetInstalled(false);
  entry.SetReplaced(false);
  const std::string destination = PrepareDestination(entry, *placement.destinations);
  entry.SetDestinationPath(destination);
  const std::string temporary = MakeTemporaryPath(destination, placement.draw);
  entry.SetTemporaryPath(temporary);
  entry.SetOutputFileName(temporary);

  try {
    reader.Extract(entry);
  } catch (...) {
    DeleteOwnFile(temporary);
    throw;
  }

  const int id = entry.Header().DestinationId();
  const std::optional<std::string> existing = FindExistingFile(id, destination, *placement.destinations);
  if (!existing) {
    MoveIntoPlace(temporary, destination);
    entry.SetInstalled(true);
  } else if (ShouldReplace(temporary, *existing)) {
    entry.SetReplaced(true);
    if (platform::DeleteFile(*existing)) {
      MoveIntoPlace(temporary, destination);
      entry.SetInstalled(true);
    } else {
      // The old copy stays in use; a stray copy under a random name would only
      // be left behind, since nothing ever removes it.
      DeleteOwnFile(temporary);
    }
  } else {
    DeleteOwnFile(temporary);
  }

  InstalledFileRecord record;
  record.group = group;
  record.destinationPath = destination;
  record.destinationId = id;
  record.installed = entry.IsInstalled();
  record.replaced = entry.IsReplaced();
  if (!LogInstalledFile(record, placement.logFile) && entry.IsInstalled()) {
    // A file the log does not name is one no removal will find: take it back
    // and fail the entry, rather than leave it behind unreported.
    const int error = errno;
    DeleteOwnFile(destination);
    entry.SetInstalled(false);
    throw platform::FileException::FromErrno(error, std::string(placement.logFile));
  }
  if (placement.fileDone) placement.fileDone(entry);
}
