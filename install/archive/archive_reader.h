#pragma once
// CArchiveReader: an archive file read entry by entry. Sequential extraction is
//
//   reader.OpenArchive(path);
//   auto entry = reader.CreateEntry();
//   while (reader.NextEntry(*entry, false)) {
//     entry->SetOutputFileName(...);
//     reader.Extract(*entry);
//   }
//
// The codec reads an entry's data through the counting read, so OnSegment runs
// every 4096 bytes of the archive (progress, cancel) and AtEnd may switch to the
// next volume underneath the codec (see CVolumeArchiveReader).
//
// Damaged archives end in an exception, never in a crash, a hang or success:
// an entry read by NextEntry hands its codec exactly its compressed bytes, and
// when the archive ends before them the end-of-file error is raised; no entry
// makes Extract write more than its uncompressed size.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "install/archive/archive_entry.h"
#include "install/archive/multi_file.h"
#include "install/codec/codec.h"

class CArchiveReader : public CMultiFile {
 public:
  static constexpr uint32_t kDefaultSegmentSize = 4096;

  CArchiveReader() {
    SetSegmentSize(kDefaultSegmentSize);
    // An entry's checksum is of its decoded bytes, summed on the way out; one
    // of the compressed bytes read here would be a second pass nobody looks at.
    SumReads(false);
  }

  // A new entry bound to this archive.
  virtual std::unique_ptr<CArchiveEntry> CreateEntry();
  // The codec for a method (CreateCodec of install/codec.h), or null.
  virtual std::unique_ptr<CCodec> CreateCodec(uint32_t method, uint32_t parameter);

  // Asks the running codec to stop (from a progress hook inside Read). Nothing
  // happens when no codec runs; the file stays open.
  void Abort() override;

  // Opens the archive for reading, checks its header and notes where the first
  // entry starts.
  void OpenArchive(std::string_view path);
  // Reads the 8-byte archive header at the file's position: short raises the
  // end-of-file error, a magic other than "mflh" CMultiFileException code 2.
  void ReadHeader();
  // Reads the next entry header into entry. With seek, the file is first placed
  // at the entry's position (the space survey, which skips the data); without,
  // the header is read where the previous entry's data ended. False at the end
  // of the archive (fewer than 346 bytes left); a header without "mfen" raises
  // CMultiFileException code 3.
  bool NextEntry(CArchiveEntry& entry, bool seek);
  // The bytes of the fragment that ended the archive at the last NextEntry: 0
  // at a clean end. Archives are never written with one, so the file copy takes
  // a fragment for a cut or damaged archive rather than lose the rest silently.
  std::size_t TrailingFragment() const { return trailingFragment_; }

  // Extracts entry into its output file: the file is created, the data decoded
  // into it, closed, and given the header's time as last-write time and the
  // header's attributes. Raises CMultiFileException code 1 for an unknown method,
  // CXUserException (silent) when the codec was aborted, code 5 when a nonzero
  // header checksum differs from the data's; the output file is complete and
  // closed in the last two cases.
  void Extract(CArchiveEntry& entry);
  // The same decoding and checks into any sink (a test run, memory), no file.
  void ExtractTo(CArchiveEntry& entry, CodecSink& sink);
  // Reads past the entry's data (following volumes like a decode would), for
  // listing an archive sequentially. The end-of-file error when the archive
  // ends before the data does.
  void SkipEntryData(CArchiveEntry& entry);

  // Fills entry's header for a plain file: its full name (its name and
  // extension when the full name does not fit), its size as uncompressed size,
  // its attributes and its creation time as file time.
  void BuildEntryFromFile(CArchiveEntry& entry, std::string_view path);

  uint64_t FirstEntryOffset() const { return firstEntryOffset_; }
  // While a codec runs: set, with the codec and its entry.
  bool IsBusy() const { return busy_; }
  CCodec* CurrentCodec() const { return currentCodec_; }
  CArchiveEntry* CurrentEntry() const { return currentEntry_; }

 private:
  class RunningScope;
  // Runs the entry's codec into sink with the current-codec state set; true when
  // it was aborted.
  bool DecodeEntry(CArchiveEntry& entry, CodecSink& sink);

  uint64_t firstEntryOffset_ = 0;
  std::size_t trailingFragment_ = 0;
  CCodec* currentCodec_ = nullptr;
  CArchiveEntry* currentEntry_ = nullptr;
  bool busy_ = false;
};
