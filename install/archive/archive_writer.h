#pragma once
// CArchiveWriter: builds archives from files, stored or -lh5-, in one volume or
// split into volumes of a given size.
//
//   CArchiveWriter writer("Z:\\media\\DATA.1", {kMethodLh5, 1457664});
//   writer.Add(ArchiveMember("Z:\\tree\\README.TXT"));
//   writer.Finish();
//
// What it writes:
// - Each volume starts with its own 8-byte header ("mflh" and four zero bytes);
//   entry data continues right after it. Every header field the reader does not
//   interpret is zero.
// - Entry fields: the name (the file's name and extension unless given), the
//   uncompressed size and the archive checksum of the bytes actually read, the
//   method with parameter 0, the destination ID, the attributes (by default the
//   file's DOS bits: read-only, hidden, system, archive), and the file time.
// - The file time is the file's last-write time, not its creation time (which
//   BuildEntryFromFile records for plain sources): extraction sets it as the
//   last-write time, and the copy compares last-write times, so the round trip
//   keeps the time that means "this version of the file". On Linux the creation
//   time is often just the moment a file was copied.
// - An entry whose data runs past the end of its header's volume has the
//   continued flag and still records its whole compressed length: the reader
//   decodes that many bytes through its counting read, which switches volumes
//   underneath. A volume holds at most volumeSize bytes.
// - A reader finds a header only in the volume where the previous entry's data
//   ended (the volume switch happens inside a data read). So a header never
//   straddles volumes, and when it would not fit after the data, the writer
//   starts the next volume early, carrying the last bytes of the previous
//   entry's data over with it. Entries without data cannot carry anything: a
//   run of them must fit in one volume together with the header after them,
//   else Add or Finish raises ArchiveWriterError. Volumes are at least
//   kMinimumVolumeSize bytes, enough for any single header.
// - Volume names: see NextVolumeName (install/archive_volume_reader.h); an
//   archive that needs a volume the last character cannot count to raises
//   ArchiveWriterError.
// - The reader counts at most 0x7FFFFFFF data bytes per archive, so the sum of
//   compressed sizes is limited to that; so are 32-bit sizes per entry.
//
// The first volume is created by the constructor. A writer that is not
// finished leaves its volumes incomplete: call Discard to delete them.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "install/archive/archive_entry_header.h"
#include "install/codec/codec.h"
#include "platform/fs/file.h"

// An archive the writer cannot make with its settings.
class ArchiveWriterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ArchiveWriterOptions {
  uint32_t method = kMethodLh5;  // for members that do not choose
  uint64_t volumeSize = 0;       // 0: a single volume of any size
};

struct ArchiveMember {
  explicit ArchiveMember(std::string filePath) : path(std::move(filePath)) {}

  std::string path;  // Windows path of the file to add
  std::string name;  // the name stored; empty: the name and extension of path
  int16_t destinationId = 0;
  std::optional<uint16_t> attributes;  // empty: the file's DOS bits
  std::optional<uint32_t> fileTime;    // empty: the file's last-write time
  std::optional<uint32_t> method;      // empty: the writer's method
};

class CArchiveWriter {
 public:
  static constexpr uint64_t kMinimumVolumeSize = 1024;
  static constexpr uint64_t kMaximumDataBytes = 0x7FFFFFFF;

  // Called while sources are read with the total of source bytes read so far.
  using Progress = std::function<void(uint64_t sourceBytes)>;

  // Creates the first volume (Windows path). Raises ArchiveWriterError for a
  // volume size below the minimum, the file error when it cannot be created.
  CArchiveWriter(std::string firstVolumePath, ArchiveWriterOptions options = {});
  ~CArchiveWriter();
  CArchiveWriter(const CArchiveWriter&) = delete;
  CArchiveWriter& operator=(const CArchiveWriter&) = delete;

  void SetProgress(Progress progress) { progress_ = std::move(progress); }

  // Reads, codes and writes one file.
  void Add(const ArchiveMember& member);
  // Writes what is held back, completes every header and closes the volumes.
  void Finish();
  // Closes and deletes every volume written so far.
  void Discard() noexcept;

  const std::vector<std::string>& VolumePaths() const { return volumes_; }
  // The headers as written (complete after Finish), in archive order.
  std::vector<ArchiveEntryHeader> Headers() const;
  // The volume (0 for the first) where each entry's header lies, in archive order.
  std::vector<std::size_t> HeaderVolumes() const;

 private:
  class EntrySink;
  class SourceReader;
  struct Entry {
    ArchiveEntryHeader header;
    std::size_t volume = 0;
    uint64_t offset = 0;
    bool placed = false;
  };

  void ReceiveData(std::size_t entry, const unsigned char* data, std::size_t count);
  void HoldBack(const unsigned char* data, std::size_t count);
  void PlacePending();
  void WriteData(const unsigned char* data, std::size_t count);
  void WritePendingHeaders();
  void StartNextVolume();
  void WriteArchiveHeader();
  void PatchHeaders();
  void CheckNotOwnVolume(const std::string& path) const;

  std::string firstVolume_;
  ArchiveWriterOptions options_;
  Progress progress_;
  platform::File out_;
  std::vector<std::string> volumes_;
  uint64_t offset_ = 0;  // in the current (last) volume
  std::vector<Entry> entries_;
  // Not yet written: the last bytes of the newest entry with data, and the
  // headers that follow them.
  std::vector<unsigned char> tail_;
  std::vector<std::size_t> pendingHeaders_;
  std::optional<std::size_t> dataEntry_;  // whose data goes out now
  uint64_t dataTotal_ = 0;
  uint64_t sourceTotal_ = 0;
  bool finished_ = false;
  bool failed_ = false;  // an Add stopped half-way
};
