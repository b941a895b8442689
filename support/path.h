#pragma once
// CPath: a Windows path value split into drive, directory, name and extension,
// with the file-system questions the installer asks of it. Paths keep the 8.3-era
// conventions: drive letter, backslash separators, at most 260 characters.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/fs/find.h"
#include "platform/machine/machine.h"
#include "support/path_parts.h"

// The directories a CPath can be constructed from, numbered as the setup tables
// number them.
enum class SpecialDirectory : int {
  Current = 0,    // the process's current directory
  Windows = 1,
  System = 2,
  Program = 3,    // the directory of the program's own executable file
  Temporary = 4,  // the temporary directory reported by the system
};

class CPath {
 public:
  CPath();
  explicit CPath(std::string_view path);
  // Drive and directory of the special directory; name and extension empty.
  // Throws std::invalid_argument for a kind outside 0..4.
  explicit CPath(SpecialDirectory kind);
  ~CPath();

  // A copy takes the text and the attribute mask; an open search stays with the
  // original, since two objects cannot share one search position.
  CPath(const CPath& other);
  CPath& operator=(const CPath& other);
  CPath(CPath&& other) noexcept;
  CPath& operator=(CPath&& other) noexcept;

  const std::string& Text() const { return path_; }
  void SetPath(std::string_view path);  // also closes an open search

  // ---- Components ----
  PathParts Split() const { return SplitPath(path_); }
  std::string GetDrive() const;
  std::string GetDirectory() const;
  // "C:\DIR" (the root stays "C:\"); without a drive just the directory.
  std::string GetDriveAndDirectory() const;
  std::string GetNameExt() const;
  std::string GetName() const;
  std::string GetExtension() const;
  // The system's full-path expansion; empty when it cannot be expanded within
  // 260 characters.
  std::string GetFullPath() const;

  void SetDrive(std::string_view drive);  // "C" or "C:"; empty removes the drive
  // Adds a leading and a trailing "\" when missing: "" gives the root.
  void SetDirectory(std::string_view directory);
  // A directory text that may carry a drive replaces both; name and extension stay.
  void SetDriveAndDirectory(std::string_view driveAndDirectory);
  void SetName(std::string_view name);
  void SetExtension(std::string_view extension);  // a leading "." is dropped
  void SetNameExt(std::string_view nameExt);      // "NAME.EXT"
  // Appends a relative directory: "\A" + "B" gives "\A\B\". An empty directory
  // stays relative ("B\"), so a relative path never becomes rooted.
  void AppendDirectory(std::string_view relative);
  // Drops the last directory component and hands it back; empty when there is
  // none (the root or no directory), in which case the path is unchanged.
  std::string RemoveLastDirectory();
  // The path reduced to its drive's root directory: "C:\X\A.TXT" gives "C:\".
  CPath GetRoot() const;

  // Replaces the name by 8 hex digits drawn from the runtime's generator (five
  // values printed "%.4x" each, the first 8 characters kept). With mustNotExist it
  // draws again while something of that name exists, at most `tries` draws in
  // all (at least one); false when every draw clashed, the last name staying set.
  bool MakeUniqueName(bool mustNotExist, int tries);

  // ---- File-system queries on the path's text ----
  // A file (not a directory) of that name can be found, ignoring letter case.
  bool Exists() const;
  uint64_t GetSize() const;         // 0 when the status cannot be read
  uint32_t GetModifyTime() const;   // seconds since 1970-01-01 UTC; 0 when unknown
  bool Delete() const;
  // Moves the file to newPath (also across directories of one drive). The object
  // keeps naming the old path.
  bool Rename(std::string_view newPath) const;

  // Searches the path's pattern for the first entry whose attributes share a bit
  // with mask (0: every entry) and makes the path name it; when the mask holds the
  // directory bit and the entry is a directory the path names it as a directory
  // ("C:\A\SUB\"). The search stays open for FindNext.
  bool FindFirst(uint32_t mask);
  bool FindNext();
  void CloseSearch();
  uint32_t GetAttributeMask() const { return attributeMask_; }
  // A directory search of "*.*" for directories in the path's directory; "." and
  // ".." count, so every existing directory but a drive's root answers true.
  bool HasSubdirectory() const;

  // Makes drive and directory the process's current directory. Also the
  // directory-existence test, which is why it changes the current directory.
  bool ChangeToDirectory() const;
  bool RemoveDirectory() const;
  // Creates the directory (drive and directory, trailing "\" removed). An existing
  // directory counts as success. With parents, missing parents are created first.
  // On failure errno holds the cause of the failed creation.
  bool CreateDirectory(bool withParents) const;
  // CreateDirectory with parents; throws platform::FileException for errno.
  void EnsureDirectory() const;

  // ---- The path's drive (the current drive when the path has none) ----
  platform::DriveType GetDriveType() const;
  bool IsRemovable() const;
  uint64_t GetFreeBytes() const;   // 0 when the system cannot tell
  uint64_t GetTotalBytes() const;  // 0 when the system cannot tell

 private:
  void ApplyParts(const PathParts& parts) { path_ = MakePath(parts); }
  bool NameCurrentEntry();
  std::string DriveAndDirectoryPrefix() const;
  std::string QueryRoot() const;

  std::string path_;
  uint32_t attributeMask_ = 0;
  std::unique_ptr<platform::FileFinder> search_;
  std::string searchDirectory_;  // "C:\A\": where the open search runs
};
