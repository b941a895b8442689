#pragma once
// The destination table: directory ids (16-bit signed) to the directories that
// receive installed files. An entry either holds an absolute path (no parent)
// or is a relative name under a parent entry, whose resolved path Resolve
// builds. Fixed ids: -2 Windows, -3 System, -4 temporary, -5 source directory;
// 0 is the install directory the user chooses.
//
// Lines of the "destinations" section: key = id, value = "name|parent|path".

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "install/log/install_log.h"

struct Destination {
  static constexpr int kNoParent = -1;

  std::string relativeName;
  int parentId = kNoParent;
  std::string path;  // absolute, or resolved from the parent

  bool HasParent() const { return parentId != kNoParent; }
};

// The directories the fixed entries stand for on this machine.
struct PresetDirectories {
  std::string windows;
  std::string system;
  std::string temporary;
  std::string source;
};

// The machine's Windows, System and temporary directories, and sourceDirectory.
PresetDirectories MachinePresetDirectories(std::string_view sourceDirectory);

class CDestinationTable {
 public:
  static constexpr std::int16_t kInstallDirectory = 0;
  static constexpr std::int16_t kWindowsDirectory = -2;
  static constexpr std::int16_t kSystemDirectory = -3;
  static constexpr std::int16_t kTemporaryDirectory = -4;
  static constexpr std::int16_t kSourceDirectory = -5;

  // The four fixed entries, absolute.
  void SetPresets(const PresetDirectories& presets);

  // Adds the lines of the "destinations" section of file; a line replaces an
  // entry of the same id. A parent field that is not a number means no parent.
  // Keys that are not 16-bit numbers name no entry and are skipped. A section
  // without any line raises CInstallProfileException (kNoDestinations): no
  // file can be placed, or found again, without it.
  void Load(std::string_view file);

  // Adds or replaces an entry.
  void Set(std::int16_t id, Destination destination);
  // Makes the entry absolute with this path (creating it when missing); its
  // relative name is kept for the log.
  void SetPath(std::int16_t id, std::string_view path);

  // Builds the path of every entry with a parent from its parent's path and its
  // relative name, in passes until every one is built; an entry whose parent
  // is not built yet waits for a later pass. At most one pass per entry: a
  // parent that does not exist, or parents in a cycle, raise
  // CInstallProfileException (kUnresolvedDestinations), entries built so far
  // keeping their new paths.
  void Resolve();

  const Destination* Find(int id) const;
  // The entry's path; empty for an id the table does not hold.
  std::string PathOf(int id) const;
  // The id at the end of the entry's chain of parents: the id itself for an
  // entry without a parent or one the table does not hold. A chain that comes
  // back on itself ends where it would repeat.
  int RootOf(int id) const;

  std::size_t Size() const { return entries_.size(); }
  const std::map<std::int16_t, Destination>& Entries() const { return entries_; }

  // Records for the log, in id order (all ids; the writer skips negative ones).
  std::vector<DestinationRecord> Records() const;
  // Writes the "destinations" lines of the non-negative ids into file.
  bool SaveDestinations(std::string_view file) const;

 private:
  std::map<std::int16_t, Destination> entries_;
};

// "base\name": a separator is put in unless base is empty or already ends in one.
std::string JoinDirectory(std::string_view base, std::string_view name);
