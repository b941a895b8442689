#pragma once
// Installs one file: extracts it under a temporary name beside its final place,
// compares it with an installed copy, puts it in place or discards it, and
// writes its install-log line. The log works as an undo journal: it names a
// file, and the temporary copy, before either exists, so that a removal after
// the process was killed at any instant finds all that is on disk.
#include <functional>
#include <string>

#include "install/archive/archive_entry.h"
#include "install/archive/archive_reader.h"
#include "install/copy/temporary_name.h"

class CDestinationTable;

// Called for each file whose extraction completed, placed or kept, after its
// log line: the program items take the destination path as their command.
using FileDoneHook = std::function<void(const CArchiveEntry& entry)>;

// What every file of a run is placed with.
struct EntryPlacement {
  const CDestinationTable* destinations = nullptr;
  std::string logFile;  // the install log (Windows path)
  RandomDraw draw = RuntimeRandomDraw();
  FileDoneHook fileDone;  // may be empty
};

// Installs entry, read by reader, for the source group named group.
//
// - A name that no file can have (empty, "." or "..", control or wildcard
//   characters) is a damaged header: CMultiFileException code 3.
// - The destination directory (entry's destination id) is created with its
//   parents; an id the table does not hold raises CXFileException (BadPath).
// - A failed extraction (damage, checksum, disk full, cancel) deletes the
//   temporary file and rethrows; an installed copy is untouched until its
//   replacement is complete.
// - Before the extraction: a file with nothing in its way gets its line
//   (1, 0), then the temporary copy gets one of the same form; the latter is
//   taken back once the copy is gone, the former after a failure.
// - Kept: the temporary file goes; logged installed 0, replaced 0.
//   Replaced: the old copy is deleted and the new one moved in; 1, 1.
//   New: moved in; 1, 0.
// - An installed copy that cannot be deleted (read-only, in use) stays, and so
//   does nothing else: the temporary copy is deleted, logged 0, 1.
// - A move into place that fails deletes the temporary copy and raises the
//   file error.
void InstallEntry(CArchiveReader& reader, CArchiveEntry& entry, const std::string& group,
                  const EntryPlacement& placement);

// Deletes a file we wrote, read-only or not. False when it stays.
bool DeleteOwnFile(const std::string& path);
