#pragma once
// Walks the drive letters A..Z, skipping those the system does not know.

#include <string>

#include "platform/machine/machine.h"

class CDriveIterator {
 public:
  static constexpr int kBeforeFirst = -1;
  static constexpr int kLastIndex = 25;  // drive Z

  // Advances to the next drive whose type is not Unknown. At the end the index
  // stays where it was and the answer is false.
  bool Next();
  // Advances with Next until a drive of that type is found.
  bool FindNextOfType(platform::DriveType type);
  bool FindFirstFixed() { return FindNextOfType(platform::DriveType::Fixed); }

  int GetIndex() const { return index_; }
  char GetLetter() const { return static_cast<char>('A' + index_); }
  std::string GetRootPath() const;  // "c:\": lower-case letter, colon, backslash
  platform::DriveType GetType() const;

 private:
  static std::string RootPathOf(int index);

  int index_ = kBeforeFirst;
};
