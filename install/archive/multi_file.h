#pragma once
// CMultiFile: a binary file stream whose counting operations feed the archive
// checksum, call a segment hook every n bytes read and an end-of-volume hook
// when the file runs out, so that a reader can switch to the next volume in the
// middle of a read. Plain access without any of that is RawRead and RawWrite.
//
// It is both ends a codec works between: the archive it reads from (Read) and
// the output file it writes to (Write).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "install/codec/codec.h"
#include "platform/fs/file.h"

class CMultiFile : public CodecSource, public CodecSink {
 public:
  // Binary read-only, and binary create (truncating) with read-write access.
  static constexpr unsigned kOpenForReading = platform::open_mode::kRead;
  static constexpr unsigned kCreateOutput = platform::open_mode::kCreate | platform::open_mode::kReadWrite;

  static constexpr uint32_t kNoSegments = 0x7FFFFFFF;  // what segment size 0 stands for
  // The counting read never goes past this many bytes; it is never changed.
  static constexpr uint64_t kByteLimit = 0x7FFFFFFF;

  CMultiFile() = default;
  ~CMultiFile() override = default;
  CMultiFile(const CMultiFile&) = delete;
  CMultiFile& operator=(const CMultiFile&) = delete;

  // The ordinary file operations. Open clears the volume-start offsets first;
  // a failed open raises the file layer's FileException with the host's cause.
  virtual void Open(std::string_view path, unsigned mode);
  virtual void Close();
  virtual uint64_t Seek(int64_t offset, platform::SeekFrom from);
  virtual uint64_t GetPosition() const;

  // The counting read: pieces that stop at every segment boundary (OnSegment is
  // called there) and at the byte limit. When the file comes back short, AtEnd
  // decides: true ends the read, false (a hook opened the next volume) reads the
  // rest from the new file. The bytes read go through the checksum. Returns the
  // count read, fewer than asked only at the end.
  std::size_t Read(void* buffer, std::size_t count) override;
  // The counting write: the checksum first, then the file. It calls no hook.
  void Write(const void* buffer, std::size_t count) override;

  // Closes the file without raising.
  virtual void Abort();

  bool IsOpen() const { return file_.IsOpen(); }
  const std::string& GetFilePath() const { return file_.FilePath(); }

  // A counting read of exactly count bytes; fewer raise the end-of-file error
  // (CXFileException with FileCause::EndOfFile).
  void ReadExact(void* buffer, std::size_t count);
  // Opens the next volume: the counts so far become the volume-start offsets.
  void Reopen(std::string_view path, unsigned mode = kOpenForReading);

  std::size_t RawRead(void* buffer, std::size_t count) { return file_.Read(buffer, count); }
  void RawWrite(const void* buffer, std::size_t count) { file_.Write(buffer, count); }

  // 0 means no segments.
  void SetSegmentSize(uint32_t size) { segmentSize_ = size == 0 ? kNoSegments : size; }
  uint32_t SegmentSize() const { return segmentSize_; }

  uint32_t Checksum() const { return checksum_; }
  void SetChecksum(uint32_t checksum) { checksum_ = checksum; }
  uint64_t BytesRead() const { return bytesRead_; }
  void SetBytesRead(uint64_t count) { bytesRead_ = count; }
  uint64_t BytesWritten() const { return bytesWritten_; }
  void SetBytesWritten(uint64_t count) { bytesWritten_ = count; }
  // The logical offsets at which the current volume starts.
  uint64_t VolumeStartRead() const { return volumeStartRead_; }
  uint64_t VolumeStartWritten() const { return volumeStartWritten_; }

 protected:
  // Called by the counting read each time the bytes read reach a multiple of the
  // segment size. Does nothing here.
  virtual void OnSegment() {}
  // Called by the counting read when the file ends early or the byte limit is
  // reached; false means "read on, the file was switched". True here.
  virtual bool AtEnd() { return true; }
  // Whether the counting read keeps the running checksum (it does unless told
  // otherwise); the writes always do.
  void SumReads(bool on) { sumReads_ = on; }

 private:
  platform::File file_;
  uint32_t segmentSize_ = kNoSegments;
  uint32_t checksum_ = 0;
  bool sumReads_ = true;
  uint64_t bytesRead_ = 0;
  uint64_t bytesWritten_ = 0;
  uint64_t volumeStartRead_ = 0;
  uint64_t volumeStartWritten_ = 0;
};
