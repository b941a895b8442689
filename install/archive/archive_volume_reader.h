#pragma once
// Volumes of an archive: the file name of volume k+1 is that of volume k with
// its last character increased by one. Digits count up to '9' and letters up to
// 'Z' or 'z' (ARC.1 ... ARC.9, DATA.A ... DATA.Z); a name ending in anything
// else has no next volume, and neither has one ending in '9', 'Z' or 'z' (the
// next codes, ':' '[' '{', make poor or invalid Windows names).

#include <optional>
#include <string>
#include <string_view>

#include "install/archive/archive_reader.h"

// The next volume's path, or nullopt when the last character cannot count on.
std::optional<std::string> NextVolumeName(std::string_view path);

// A reader that follows an entry's data into the next volume in the same
// directory when the entry's continued flag is set, as the file copy does after
// its diskette prompt. A missing next volume raises the file layer's
// file-not-found error; one without an archive header raises what ReadHeader
// raises.
class CVolumeArchiveReader : public CArchiveReader {
 public:
  void Open(std::string_view path, unsigned mode) override;

  // 0 for the volume opened first, then one more for each volume followed.
  int VolumeIndex() const { return volumeIndex_; }

 protected:
  bool AtEnd() override;

 private:
  int volumeIndex_ = 0;
};
