#pragma once
// The version resource of a file, for deciding whether a new copy may replace an
// installed one.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Four 16-bit parts, most significant first: 2.0.0.1 is {2, 0, 0, 1}.
using FileVersionNumber = std::array<uint16_t, 4>;

// True when a is greater than b: the first unequal part decides; equal is not newer.
bool IsVersionNewer(const FileVersionNumber& a, const FileVersionNumber& b);

class CFileVersion {
 public:
  // Reads the file's version information block; false (and no block) when the
  // file has none. A second call replaces the block.
  bool LoadVersionInfo(std::string_view fileName);
  bool HasVersionInfo() const { return !block_.empty(); }

  // The file version of the block's fixed file information; nullopt when no block
  // is loaded or its root block cannot be read.
  std::optional<FileVersionNumber> GetFileVersion() const;

  // True when this version is greater than other's. A file with a version is
  // newer than one without; one without is never newer.
  bool IsNewerThan(const CFileVersion& other) const;

 private:
  std::vector<uint8_t> block_;  // the system's block plus one spare byte
  uint32_t blockSize_ = 0;      // the size the system reported
};
