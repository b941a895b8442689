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

namespace {

InstalledFileRecord RecordOf(const std::string& group, const std::string& path, int id, bool installed,
                             bool replaced) {
  InstalledFileRecord record;
  record.group = group;
  record.destinationPath = path;
  record.destinationId = id;
  record.installed = installed;
  record.replaced = replaced;
  return record;
}

// Writes a file's line or raises the log's error: a file the log does not name
// is one no removal would find.
void LogOrRaise(const InstalledFileRecord& record, const std::string& logFile) {
  if (!LogInstalledFile(record, logFile)) throw platform::FileException::FromErrno(errno, logFile);
}

// The line of a file that is on disk under a name for a while only: written
// before the file exists, taken back once it is gone. A kill in between leaves
// the line, and the removal deletes the file by it.
class JournalLine {
 public:
  JournalLine(InstalledFileRecord record, const std::string& logFile) : record_(std::move(record)), logFile_(logFile) {
    LogOrRaise(record_, logFile_);
  }
  ~JournalLine() { TakeBack(); }
  JournalLine(const JournalLine&) = delete;
  JournalLine& operator=(const JournalLine&) = delete;

  // A line left behind names a file that is not there, which the removal
  // passes over; so a failure here is not worth failing the file for.
  void TakeBack() {
    if (taken_) return;
    taken_ = true;
    (void)ForgetInstalledFile(record_, logFile_);
  }
  // The line stays: the file it names is now the installed one.
  void Keep() { taken_ = true; }

 private:
  InstalledFileRecord record_;
  const std::string& logFile_;
  bool taken_ = false;
};

}  // namespace

void InstallEntry(CArchiveReader& reader, CArchiveEntry& entry, const std::string& group,
                  const EntryPlacement& placement) {
  entry.SetInstalled(false);
  entry.SetReplaced(false);
  const std::string destination = PrepareDestination(entry, *placement.destinations);
  entry.SetDestinationPath(destination);
  const int id = entry.Header().DestinationId();
  const std::string& log = placement.logFile;

  // The log names every file before it exists, so that a removal after a kill
  // at any instant finds it. A file with nothing in its way will be placed, so
  // its final line goes first; the temporary file's line after it is then the
  // log's last line, which is cheap to take back.
  std::optional<std::string> existing = FindExistingFile(id, destination, *placement.destinations);
  std::optional<JournalLine> placedLine;
  if (!existing && !IsLoggedFile(group, destination, log)) {
    placedLine.emplace(RecordOf(group, destination, id, true, false), log);
  }
  const std::string temporary = MakeTemporaryPath(destination, placement.draw);
  entry.SetTemporaryPath(temporary);
  entry.SetOutputFileName(temporary);
  JournalLine temporaryLine(RecordOf(group, temporary, id, true, false), log);

  try {
    reader.Extract(entry);
    if (!existing) {
      MoveIntoPlace(temporary, destination);
      entry.SetInstalled(true);
      if (placedLine) placedLine->Keep();
    } else if (ShouldReplace(temporary, *existing)) {
      entry.SetReplaced(true);
      LogOrRaise(RecordOf(group, destination, id, true, true), log);
      if (platform::DeleteFile(*existing)) {
        MoveIntoPlace(temporary, destination);
        entry.SetInstalled(true);
      }
      // Otherwise the old copy stays in use; a stray copy under a random name
      // would only be left behind, since nothing ever removes it.
    }
  } catch (...) {
    DeleteOwnFile(temporary);
    throw;  // the journal lines go as well, the temporary file's first
  }
  if (!entry.IsInstalled()) DeleteOwnFile(temporary);
  temporaryLine.TakeBack();

  if (!placedLine &&
      !LogInstalledFile(RecordOf(group, destination, id, entry.IsInstalled(), entry.IsReplaced()), log) &&
      entry.IsInstalled()) {
    // A file the log does not name is one no removal will find: take it back
    // and fail the entry, rather than leave it behind unreported.
    const int error = errno;
    DeleteOwnFile(destination);
    entry.SetInstalled(false);
    throw platform::FileException::FromErrno(error, log);
  }
  if (placement.fileDone) placement.fileDone(entry);
}
