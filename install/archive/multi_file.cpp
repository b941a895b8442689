#include "install/archive/multi_file.h"

#include <algorithm>

#include "install/archive/archive_checksum.h"
#include "install/errors/xexception.h"

void CMultiFile::Open(std::string_view path, unsigned mode) {
  volumeStartRead_ = 0;
  volumeStartWritten_ = 0;
  file_.Open(path, mode);
}

void CMultiFile::Close() { file_.Close(); }

uint64_t CMultiFile::Seek(int64_t offset, platform::SeekFrom from) { return file_.Seek(offset, from); }

uint64_t CMultiFile::GetPosition() const { return file_.GetPosition(); }

void CMultiFile::Abort() { file_.Abort(); }

std::size_t CMultiFile::Read(void* buffer, std::size_t count) {
  auto* out = static_cast<unsigned char*>(buffer);
  std::size_t done = 0;
  // Nothing is counted past the limit, so once there no hook can help: stop even
  // when AtEnd declined, rather than loop on empty pieces.
  while (done < count && bytesRead_ < kByteLimit) {
    const uint64_t toBoundary = segmentSize_ - bytesRead_ % segmentSize_;
    const std::size_t piece =
        static_cast<std::size_t>(std::min<uint64_t>({count - done, kByteLimit - bytesRead_, toBoundary}));
    const std::size_t got = file_.Read(out + done, piece);
    done += got;
    bytesRead_ += got;
    if (bytesRead_ >= kByteLimit && AtEnd()) break;
    // An empty piece reaches no new boundary: the hook runs once per segment.
    if (got > 0 && bytesRead_ % segmentSize_ == 0) OnSegment();
    if (got < piece && AtEnd()) break;
  }
  if (sumReads_) checksum_ = ArchiveChecksum(out, done, checksum_);
  return done;
}

void CMultiFile::Write(const void* buffer, std::size_t count) {
  checksum_ = ArchiveChecksum(buffer, count, checksum_);
  // No hook runs on the write path, so cutting the write at segment boundaries
  // would change nothing that anyone sees: one write.
  file_.Write(buffer, count);
  bytesWritten_ += count;
}

void CMultiFile::ReadExact(void* buffer, std::size_t count) {
  if (Read(buffer, count) != count) throw CXFileException(platform::FileCause::EndOfFile, GetFilePath());
}

void CMultiFile::Reopen(std::string_view path, unsigned mode) {
  file_.Open(path, mode);
  volumeStartRead_ = bytesRead_;
  volumeStartWritten_ = bytesWritten_;
}
