#pragma once
// The removal run's work: it takes away what the install log says the install
// created, in this order: the logged registry keys (newest first), the keys the
// profile marks for removal, the profile's removal commands, the installed
// files with their program items, the product's settings file and the log, and
// the emptied destination directories. No step reports a failure: a missing key
// or file, a failed deletion or a directory that is not empty is skipped.

#include <string>

#include "system/program_items.h"

class CDestinationTable;
class CGroupTable;
class CTargetTable;
class CRegistryEntryList;
class CCommandList;
class FocusReturn;
class UserMessages;

// What the removal shows while it works, and the user's cancel.
class RemovalProgress {
 public:
  virtual ~RemovalProgress() = default;
  // The path being removed now; the interface stays alive meanwhile.
  virtual void ShowPath(const std::string& path) = 0;
  // The gauge, 0 to 100 (the gauge itself stops at its maximum).
  virtual void SetPercent(int percent) = 0;
  // A confirmed Cancel: the removal stops before the next file.
  virtual bool Cancelled() = 0;
};

struct RemovalWork {
  const CDestinationTable& destinations;
  const CGroupTable& groups;
  const CTargetTable& targets;
  CRegistryEntryList& registryEntries;
  CCommandList& commands;
  std::string logFile;          // the install log, full path
  std::string sourceDirectory;  // where the removal was started from (/D)
  ProgramItemPlace place;       // the platform's kind of program items
};

enum class RemovalOutcome { Done, Cancelled };

// The whole removal in its order, the gauge after each step.
RemovalOutcome RemoveInstallation(RemovalWork& work, RemovalProgress& progress, FocusReturn* window,
                                  UserMessages& messages);

// The files of every group of the table, in its order; false when cancelled.
bool RemoveFiles(RemovalWork& work, RemovalProgress& progress);
// The files of one group's log section, in file order.
bool RemoveGroupFiles(RemovalWork& work, const std::string& group, RemovalProgress& progress);
// Tries every destination directory of the log, as many rounds as there are
// destinations, so that nested directories go from the inside out.
void RemoveDestinationDirectories(const CDestinationTable& destinations);
