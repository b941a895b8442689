#pragma once
// The disk space each setup type needs, in bytes: the whole install, and the
// two parts of it that go under the install directory and under the Windows
// directories (which may lie on another drive).
//
// The totals are 32-bit, as the pages show and compare them, but they are
// added up without wrapping: a sum beyond the largest 32-bit number stays
// there, so that a very large set never looks small enough to fit.

#include <cstdint>
#include <string>

#include "install/tables/group_table.h"

class CDestinationTable;

struct SpaceParts {
  std::int32_t total = 0;         // the whole install
  std::int32_t underInstall = 0;  // under the install directory
  std::int32_t underWindows = 0;  // under the Windows directories
};

class SpaceTotals {
 public:
  SpaceParts& For(SetupType type) { return parts_[Index(type)]; }
  const SpaceParts& For(SetupType type) const { return parts_[Index(type)]; }

  void Clear(SetupType type) { For(type) = {}; }
  // Adds bytes to the whole install and to one of its parts.
  void Add(SetupType type, std::int64_t bytes, bool underWindows);
  // Adds bytes to the whole install only.
  void AddToTotal(SetupType type, std::int64_t bytes);

 private:
  static int Index(SetupType type) { return static_cast<int>(type) - 1; }

  SpaceParts parts_[3];
};

// sum + bytes, held within the 32-bit range.
std::int32_t AddClamped(std::int32_t sum, std::int64_t bytes);

// A byte count as the pages show it: megabytes of 1,024,000 bytes, truncated,
// followed by "MB" ("0MB" up to 1,023,999 bytes).
std::string MegabytesText(std::int64_t bytes);

// Whether a file of this destination id counts towards the Windows part: the
// id, followed through its parents to the root, is negative (the fixed
// directories: Windows, System, temporary, source).
bool IsWindowsPart(const CDestinationTable& destinations, int destinationId);
