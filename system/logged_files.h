#pragma once
// The files an install log lists, and what a removal does with each. The log
// has one section per group, named after it; each line is
//   name = destination id|installed|replaced
// A removal deletes only the files the install placed: a file it found newer
// and kept (installed 0, replaced 0) may belong to another program. Files of
// destinations 1000 and above are shared places and are never deleted.

#include <string>
#include <vector>

class CDestinationTable;
class CTargetTable;
struct CTarget;

struct LoggedFile {
  std::string group;  // the section
  std::string name;   // the key: the file's name and extension
  std::string value;  // the line's value as the log holds it
  int destinationId = 0;
  bool installed = false;
  bool replaced = false;
};

enum class LoggedFileFate {
  Delete,              // the install placed it
  KeepNotPlaced,       // the install found it newer or equal and kept it
  KeepSharedPlace,     // its destination id is 1000 or above
  KeepUnknownPlace,    // the log's destinations do not name its directory
};

inline constexpr int kFirstSharedDestination = 1000;

// Whether a removal tries to remove a destination's directory once it is
// empty: the install's own directories only. The negative ids are the
// machine's (Windows, System, temporary, the running program's), and shared
// places belong to more than this product.
inline bool RemovalTriesDirectory(int destinationId) {
  return destinationId >= 0 && destinationId < kFirstSharedDestination;
}

// Whether the log records anything the install did: a section other than the
// tables and the program folder's name. An install writes those before its
// first file, so a log of them alone (a run killed early) leaves nothing to
// take away; nor does a missing log.
bool LogRecordsInstalledWork(const std::string& logFile);

// The section names of a private-profile file, in file order; none when the
// file is missing.
std::vector<std::string> SectionNames(const std::string& file);

// The lines of group's section of logFile in file order; numbers are read as
// decimal from their leading digits (0 when there are none). A missing file or
// section gives none.
std::vector<LoggedFile> ReadLoggedFiles(const std::string& group, const std::string& logFile);

// The file's full path: its destination's directory with its name; empty when
// the table does not hold the destination (a bare name would be looked up in
// whatever the current directory is).
std::string LoggedFilePath(const LoggedFile& file, const CDestinationTable& destinations);

LoggedFileFate FateOf(const LoggedFile& file, const CDestinationTable& destinations);

// The program item that goes with the file at path: the target under the
// file's name whose command is that very file (a file of the same name
// elsewhere leaves it alone); null when there is none.
const CTarget* ProgramItemOf(const LoggedFile& file, const std::string& path, const CTargetTable& targets);

// A short reason, for people: "placed", "kept", "shared place", "unknown place".
const char* FateReason(LoggedFileFate fate);
