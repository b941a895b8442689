#pragma once
// Finding a source file on the installation media: the source directory, the
// next disk's directory of a set copied to hard disk or CD ("...01" then
// "...02"), or the "Insert Diskette" prompt.
#include <optional>
#include <string>
#include <string_view>

#include "install/copy/copy_user_interface.h"

class CDisketteTable;

// "Please insert the diskette labelled '%s' in drive %s:", or with an empty
// label "Please insert diskette %d in drive %s:"; the drive letter without colon.
std::string DisketteText(std::string_view label, int disk, std::string_view driveLetter);

// The directory that follows sourceDirectory in a numbered set: its last two
// characters (separator aside) read as a nonzero number k become k + 1 in two
// digits. nullopt when the directory is too short or its number is 0.
std::optional<std::string> NextNumberedDirectory(std::string_view sourceDirectory);

class CSourceLocator {
 public:
  // sourceDirectory: where the media's files are, a trailing "\" added.
  CSourceLocator(std::string sourceDirectory, const CDisketteTable& diskettes, CopyUserInterface& ui);

  // True when the caller may open name in SourceDirectory(): it is there, or
  // was found in the next numbered directory (which then becomes the source
  // directory), or the user answered OK to the prompt for disk. False for
  // Cancel. A disk number without a label slot raises CInstallProfileException
  // code 3.
  bool EnsureSourceFile(std::string_view name, int disk);

  const std::string& SourceDirectory() const { return sourceDirectory_; }
  std::string PathOf(std::string_view name) const { return sourceDirectory_ + std::string(name); }

 private:
  std::string sourceDirectory_;
  const CDisketteTable& diskettes_;
  CopyUserInterface& ui_;
};
