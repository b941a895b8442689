#pragma once
// CArchiveEntry: one entry of an archive and, as a CMultiFile, the output file
// it is extracted into. Besides its header it carries what the file copy needs
// while it installs the entry.

#include <cstdint>
#include <string>
#include <utility>

#include "install/archive/archive_entry_header.h"
#include "install/archive/multi_file.h"

class CArchiveReader;

class CArchiveEntry : public CMultiFile {
 public:
  // archive: the reader that made the entry (CArchiveReader::CreateEntry), or null.
  explicit CArchiveEntry(CArchiveReader* archive = nullptr) : archive_(archive) {}

  CArchiveReader* Archive() const { return archive_; }

  ArchiveEntryHeader& Header() { return header_; }
  const ArchiveEntryHeader& Header() const { return header_; }

  // The logical position of the next header NextEntry reads. 0, as constructed,
  // stands for the archive's first entry; NextEntry advances it past the entry
  // it read (346 + compressed size).
  uint64_t Position() const { return position_; }
  void SetPosition(uint64_t position) { position_ = position; }

  // The name and extension of the header's name field: a directory part that an
  // archive records is never used.
  std::string GetFileName() const { return NameAndExtension(header_.Name()); }

  // Where Extract writes the entry; set before the call.
  const std::string& OutputFileName() const { return outputFileName_; }
  void SetOutputFileName(std::string path) { outputFileName_ = std::move(path); }

  // For the file copy: where the file goes, the temporary name it is extracted
  // under, and what became of it.
  const std::string& DestinationPath() const { return destinationPath_; }
  void SetDestinationPath(std::string path) { destinationPath_ = std::move(path); }
  const std::string& TemporaryPath() const { return temporaryPath_; }
  void SetTemporaryPath(std::string path) { temporaryPath_ = std::move(path); }
  bool IsInstalled() const { return installed_; }
  void SetInstalled(bool installed) { installed_ = installed; }
  bool IsReplaced() const { return replaced_; }
  void SetReplaced(bool replaced) { replaced_ = replaced; }

 private:
  CArchiveReader* archive_;
  ArchiveEntryHeader header_;
  uint64_t position_ = 0;
  std::string outputFileName_;
  std::string destinationPath_;
  std::string temporaryPath_;
  bool installed_ = false;
  bool replaced_ = false;
};
