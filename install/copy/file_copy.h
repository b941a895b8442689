#pragma once
// The copy loop: every source of an installed group, in the list's order
// (diskette order, late sources last on their diskette), located on the media,
// read plain or as an archive whose volumes may run onto the next diskette, and
// each of its files installed (install/copy/entry_installer.h).
//
// The page that runs it prepares the run first (the implied groups, the setup
// program's own record, the gauge range from TotalSize) and does the work
// after it; it answers the user's side through CopyUserInterface.
#include <cstdint>
#include <string>

#include "install/copy/copy_user_interface.h"
#include "install/copy/entry_installer.h"
#include "install/copy/source_locator.h"

class CDestinationTable;
class CDisketteTable;
class CSourceFile;
class CSourceFileList;

struct CopySettings {
  const CDestinationTable* destinations = nullptr;
  const CDisketteTable* diskettes = nullptr;
  std::string sourceDirectory;  // where the media's files are
  std::string logFile;          // the install log
  RandomDraw draw = RuntimeRandomDraw();
  FileDoneHook fileDone;  // after each file's log line; may be empty
};

enum class CopyOutcome { Completed, Cancelled };

class CFileCopy {
 public:
  static constexpr uint32_t kSegmentSize = 4096;  // bytes read between two ticks

  CFileCopy(CopySettings settings, CopyUserInterface& ui);

  // Bytes the installed groups' sources add: the gauge's range.
  static uint64_t TotalSize(const CSourceFileList& sources);

  // Copies the sources of installed groups in order until the run is cancelled.
  CopyOutcome CopyAllSources(const CSourceFileList& sources);

  // Installs one source. Any failure is reported with string 17 and the
  // source's name; Cancel there, a Cancel at a diskette prompt, or a confirmed
  // Cancel at a tick cancels the run. A cancel is never reported. The rest of a
  // failed source's files are not installed.
  void CopySource(const CSourceFile& source);

  bool IsCancelled() const { return cancelled_; }
  // Uncompressed bytes of the files finished so far.
  uint64_t Completed() const { return completed_; }
  const std::string& SourceDirectory() const { return locator_.SourceDirectory(); }

 private:
  class SourceReader;
  friend class SourceReader;

  void InstallSource(const CSourceFile& source, SourceReader& reader);
  void InstallOne(SourceReader& reader, CArchiveEntry& entry, const std::string& group);
  // The hooks of the source's reader.
  void Tick(SourceReader& reader);
  bool SwitchVolume(SourceReader& reader);
  void ReportFailure(const CSourceFile& source, const std::exception_ptr& error);

  CopySettings settings_;
  CopyUserInterface& ui_;
  CSourceLocator locator_;
  EntryPlacement placement_;
  uint64_t completed_ = 0;
  CArchiveEntry* currentEntry_ = nullptr;
  bool cancelled_ = false;
  int volumeDisk_ = 0;  // the diskette of the volume being read
};
