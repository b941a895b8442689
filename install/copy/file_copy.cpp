#include "install/copy/file_copy.h"

#include <array>
#include <cerrno>
#include <optional>

#include "install/archive/archive_volume_reader.h"
#include "install/errors/multi_file_exception.h"
#include "install/errors/string_table.h"
#include "install/errors/translate_exception.h"
#include "install/log/log_lines.h"
#include "install/tables/group_table.h"
#include "install/tables/source_file.h"
#include "install/tables/source_file_list.h"
#include "platform/core/exceptions.h"

// The reader of one source: its hooks run the progress tick and the volume
// switch of the copy that owns it.
class CFileCopy::SourceReader : public CArchiveReader {
 public:
  SourceReader(CFileCopy& copy, const CSourceFile& source) : copy_(copy), source_(source) {
    SetSegmentSize(kSegmentSize);
  }

  // Closes the file without raising, whatever happened.
  void CloseQuietly() { CMultiFile::Abort(); }

 protected:
  void OnSegment() override { copy_.Tick(*this); }
  bool AtEnd() override { return copy_.SwitchVolume(*this); }

 private:
  CFileCopy& copy_;
  const CSourceFile& source_;
};

CFileCopy::CFileCopy(CopySettings settings, CopyUserInterface& ui)
    : settings_(std::move(settings)), ui_(ui), locator_(settings_.sourceDirectory, *settings_.diskettes, ui) {
  placement_.destinations = settings_.destinations;
  placement_.logFile = settings_.logFile;
  placement_.draw = settings_.draw;
  placement_.fileDone = settings_.fileDone;
}

uint64_t CFileCopy::TotalSize(const CSourceFileList& sources) {
  uint64_t total = 0;
  for (const auto& source : sources.Sources()) {
    if (source->Group() != nullptr && source->Group()->IsInstalled() && source->Size() > 0) {
      total += static_cast<uint64_t>(source->Size());
    }
  }
  return total;
}

CopyOutcome CFileCopy::CopyAllSources(const CSourceFileList& sources) {
  for (const auto& source : sources.Sources()) {
    // A Cancel confirmed before the copy, or while the last source closed,
    // stops it before the next source is opened.
    if (!cancelled_ && ui_.PollCancel()) cancelled_ = true;
    if (cancelled_) return CopyOutcome::Cancelled;
    if (source->Group() == nullptr || !source->Group()->IsInstalled()) continue;
    ui_.ShowSource(source->FileName());
    CopySource(*source);
  }
  return cancelled_ ? CopyOutcome::Cancelled : CopyOutcome::Completed;
}

void CFileCopy::CopySource(const CSourceFile& source) {
  SourceReader reader(*this, source);
  volumeDisk_ = source.DiskNumber();
  try {
    if (!locator_.EnsureSourceFile(source.FileName(), source.DiskNumber())) {
      cancelled_ = true;
      return;
    }
    InstallSource(source, reader);
    reader.Close();
  } catch (...) {
    currentEntry_ = nullptr;
    reader.CloseQuietly();
    ReportFailure(source, std::current_exception());
  }
}

void CFileCopy::InstallSource(const CSourceFile& source, SourceReader& reader) {
  const std::string path = locator_.PathOf(source.FileName());
  const std::string group = source.Group() != nullptr ? source.Group()->name : std::string();
  if (source.Kind() == CSourceFile::kPlainFile) {
    reader.Open(path, CMultiFile::kOpenForReading);
    const auto entry = reader.CreateEntry();
    reader.BuildEntryFromFile(*entry, path);
    ArchiveEntryHeader& header = entry->Header();
    header.SetDestinationId(static_cast<int16_t>(source.DestinationId()));
    header.SetMethod(kMethodStored);
    header.SetMethodParameter(0);
    // The file's own size, not the tables' figure: a figure that is off would
    // cut the copy short or run it into the end of the file.
    header.SetCompressedSize(header.UncompressedSize());
    header.SetChecksum(0);
    InstallOne(reader, *entry, group);
  } else if (source.Kind() == CSourceFile::kArchive) {
    reader.OpenArchive(path);
    const auto entry = reader.CreateEntry();
    while (reader.NextEntry(*entry, false)) {
      if (ui_.PollCancel()) cancelled_ = true;
      if (cancelled_) break;
      InstallOne(reader, *entry, group);
    }
    // Part of a header after the last entry: the archive was cut or an entry's
    // size damaged, and the files after it would be missing without a word.
    if (!cancelled_ && reader.TrailingFragment() > 0) {
      throw CMultiFileException(CMultiFileException::kMissingEntryHeader);
    }
  }
}

void CFileCopy::InstallOne(SourceReader& reader, CArchiveEntry& entry, const std::string& group) {
  currentEntry_ = &entry;
  InstallEntry(reader, entry, group, placement_);
  completed_ += entry.Header().UncompressedSize();
  currentEntry_ = nullptr;
}

void CFileCopy::Tick(SourceReader& reader) {
  if (currentEntry_ == nullptr || cancelled_) return;
  if (ui_.PollCancel()) {
    cancelled_ = true;
    reader.Abort();
    return;
  }
  ui_.ShowProgress(completed_ + currentEntry_->BytesWritten(), currentEntry_->DestinationPath());
}

bool CFileCopy::SwitchVolume(SourceReader& reader) {
  const CArchiveEntry* entry = reader.CurrentEntry();
  if (entry == nullptr || entry->Header().Continued() == 0) return true;
  const std::string current = reader.GetFilePath();
  const std::optional<std::string> next = NextVolumeName(FileNameOfPath(current));
  if (!next) throw platform::FileException(platform::FileCause::FileNotFound, ENOENT, current);
  reader.Close();
  // Each further volume is on the diskette after the one before it. Asking for
  // the source's disk plus one every time would name the wrong diskette from
  // the third volume on.
  ++volumeDisk_;
  if (!locator_.EnsureSourceFile(*next, volumeDisk_)) {
    cancelled_ = true;
    reader.Abort();
    return true;
  }
  reader.Reopen(locator_.PathOf(*next));
  reader.ReadHeader();
  return false;
}

void CFileCopy::ReportFailure(const CSourceFile& source, const std::exception_ptr& error) {
  // A cancel the user already confirmed ends the extraction it interrupted;
  // that failure is the cancel itself, not something to report.
  if (cancelled_) return;
  const std::unique_ptr<CXException> translated = TranslateException(error);
  if (IsSilentError(*translated)) {
    cancelled_ = true;
    return;
  }
  const std::string name(FileNameOfPath(source.FileName()));
  const std::array<FormatArg, 1> args{FormatArg(name)};
  const ErrorReport report = BuildErrorReport(string_id::kCannotInstallFiles, *translated, args, true);
  if (!ui_.ReportSourceError(report)) cancelled_ = true;
}
