#include "install/archive/archive_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "install/archive/archive_checksum.h"
#include "install/errors/multi_file_exception.h"
#include "install/errors/xexception.h"
#include "platform/core/exceptions.h"
#include "platform/fs/file_ops.h"
#include "support/file_status.h"

namespace {

// The codec's view of one entry's data: its compressed bytes and no more, so
// that neither a damaged size nor a codec that reads ahead eats the next header.
class EntryDataSource final : public CodecSource {
 public:
  EntryDataSource(CodecSource& archive, uint64_t size) : archive_(archive), remaining_(size) {}

  std::size_t Read(void* buffer, std::size_t count) override {
    const std::size_t wanted = static_cast<std::size_t>(std::min<uint64_t>(count, remaining_));
    if (wanted == 0) return 0;
    const std::size_t got = archive_.Read(buffer, wanted);
    remaining_ -= got;
    return got;
  }

  uint64_t Remaining() const { return remaining_; }

 private:
  CodecSource& archive_;
  uint64_t remaining_;
};

// Refuses output beyond the entry's uncompressed size, whatever the codec does.
class BoundedSink final : public CodecSink {
 public:
  BoundedSink(CodecSink& target, uint64_t limit) : target_(target), limit_(limit) {}

  void Write(const void* buffer, std::size_t count) override {
    if (count > limit_ - written_) throw CMultiFileException(CMultiFileException::kChecksumMismatch);
    target_.Write(buffer, count);
    written_ += count;
  }

  uint64_t Written() const { return written_; }

 private:
  CodecSink& target_;
  uint64_t limit_;
  uint64_t written_ = 0;
};

// Passes the data on and keeps the archive checksum of it.
class ChecksumSink final : public CodecSink {
 public:
  explicit ChecksumSink(CodecSink& target) : target_(target) {}

  void Write(const void* buffer, std::size_t count) override {
    checksum_ = ArchiveChecksum(buffer, count, checksum_);
    target_.Write(buffer, count);
  }

  uint32_t Checksum() const { return checksum_; }

 private:
  CodecSink& target_;
  uint32_t checksum_ = 0;
};

// Entries that NextEntry read carry a position past their own header; an entry
// built for a plain file (BuildEntryFromFile) keeps position 0 and its data is
// the whole file.
bool IsArchiveEntry(const CArchiveEntry& entry) { return entry.Position() != 0; }

void CheckChecksum(const CArchiveEntry& entry, uint32_t actual) {
  const uint32_t recorded = entry.Header().Checksum();
  if (recorded != 0 && recorded != actual) throw CMultiFileException(CMultiFileException::kChecksumMismatch);
}

void ThrowEndOfFile(const std::string& path) { throw CXFileException(platform::FileCause::EndOfFile, path); }

}  // namespace

// The state a progress hook sees while a codec runs, cleared however the run ends.
class CArchiveReader::RunningScope {
 public:
  RunningScope(CArchiveReader& reader, CArchiveEntry& entry, CCodec* codec) : reader_(reader) {
    reader_.currentCodec_ = codec;
    reader_.currentEntry_ = &entry;
    reader_.busy_ = true;
  }
  ~RunningScope() {
    reader_.busy_ = false;
    reader_.currentEntry_ = nullptr;
    reader_.currentCodec_ = nullptr;
  }
  RunningScope(const RunningScope&) = delete;
  RunningScope& operator=(const RunningScope&) = delete;

 private:
  CArchiveReader& reader_;
};

std::unique_ptr<CArchiveEntry> CArchiveReader::CreateEntry() { return std::make_unique<CArchiveEntry>(this); }

std::unique_ptr<CCodec> CArchiveReader::CreateCodec(uint32_t method, uint32_t parameter) {
  return ::CreateCodec(method, parameter);
}

void CArchiveReader::Abort() {
  if (currentCodec_ != nullptr) currentCodec_->Abort();
}

void CArchiveReader::OpenArchive(std::string_view path) {
  Open(path, kOpenForReading);
  ReadHeader();
  firstEntryOffset_ = GetPosition();
}

void CArchiveReader::ReadHeader() {
  char header[archive_layout::kArchiveHeaderSize];
  if (RawRead(header, sizeof header) < sizeof header) ThrowEndOfFile(GetFilePath());
  if (std::memcmp(header, archive_layout::kArchiveMagic, sizeof archive_layout::kArchiveMagic) != 0) {
    throw CMultiFileException(CMultiFileException::kNotAnArchive);
  }
}

bool CArchiveReader::NextEntry(CArchiveEntry& entry, bool seek) {
  if (entry.Position() == 0) entry.SetPosition(firstEntryOffset_);
  if (seek) Seek(static_cast<int64_t>(entry.Position() - VolumeStartRead()), platform::SeekFrom::Begin);
  ArchiveEntryHeader header;
  trailingFragment_ = RawRead(header.Raw().data(), header.Raw().size());
  if (trailingFragment_ < header.Raw().size()) return false;
  trailingFragment_ = 0;
  if (!header.HasEntryMagic()) throw CMultiFileException(CMultiFileException::kMissingEntryHeader);
  entry.Header() = header;
  entry.SetPosition(entry.Position() + archive_layout::kEntryHeaderSize + header.CompressedSize());
  return true;
}

bool CArchiveReader::DecodeEntry(CArchiveEntry& entry, CodecSink& sink) {
  const ArchiveEntryHeader& header = entry.Header();
  std::unique_ptr<CCodec> codec = CreateCodec(header.Method(), header.MethodParameter());
  if (!codec) throw CMultiFileException(CMultiFileException::kUnknownMethod);

  RunningScope running(*this, entry, codec.get());
  BoundedSink output(sink, header.UncompressedSize());
  bool aborted;
  if (IsArchiveEntry(entry)) {
    EntryDataSource data(*this, header.CompressedSize());
    codec->Decode(data, output, header.CompressedSize(), header.UncompressedSize());
    aborted = codec->IsAborted();
    // The next header follows the whole compressed data: read past what the
    // codec left (trailing bytes of a stream), and notice an archive that ends
    // before the data does, which no codec reports by itself.
    if (!aborted) {
      std::vector<unsigned char> rest(static_cast<std::size_t>(std::min<uint64_t>(data.Remaining(), 65536)));
      while (data.Remaining() > 0) {
        if (data.Read(rest.data(), rest.size()) == 0) ThrowEndOfFile(GetFilePath());
      }
    }
  } else {
    // A plain file's data is the whole file; the size its source lists (the
    // compressed size here) only feeds the gauge and must not cut the copy.
    const uint32_t budget = std::max(header.CompressedSize(), header.UncompressedSize());
    codec->Decode(*this, output, budget, header.UncompressedSize());
    aborted = codec->IsAborted();
  }
  if (!aborted && output.Written() != header.UncompressedSize()) {
    throw CMultiFileException(CMultiFileException::kChecksumMismatch);
  }
  return aborted;
}

void CArchiveReader::Extract(CArchiveEntry& entry) {
  const std::string& path = entry.OutputFileName();
  entry.Open(path, kCreateOutput);
  entry.SetBytesWritten(0);
  entry.SetChecksum(0);
  bool aborted;
  try {
    aborted = DecodeEntry(entry, entry);
  } catch (...) {
    entry.Abort();  // the caller may delete what was written
    throw;
  }
  entry.Close();

  // The time first: a file that becomes read-only still takes it.
  if (!platform::SetLastWriteTime(path, entry.Header().FileTime()) ||
      !platform::SetFileAttributes(path, entry.Header().Attributes() & 0xFF)) {
    throw platform::FileException::FromErrno(errno, path);
  }
  if (aborted) throw CXUserException();
  CheckChecksum(entry, entry.Checksum());
}

void CArchiveReader::ExtractTo(CArchiveEntry& entry, CodecSink& sink) {
  ChecksumSink checked(sink);
  if (DecodeEntry(entry, checked)) throw CXUserException();
  CheckChecksum(entry, checked.Checksum());
}

void CArchiveReader::SkipEntryData(CArchiveEntry& entry) {
  RunningScope running(*this, entry, nullptr);
  EntryDataSource data(*this, entry.Header().CompressedSize());
  std::vector<unsigned char> buffer(static_cast<std::size_t>(std::min<uint64_t>(data.Remaining(), 65536)));
  while (data.Remaining() > 0) {
    if (data.Read(buffer.data(), buffer.size()) == 0) ThrowEndOfFile(GetFilePath());
  }
}

void CArchiveReader::BuildEntryFromFile(CArchiveEntry& entry, std::string_view path) {
  platform::FileStatus status;
  if (!platform::GetFileStatus(path, status)) throw platform::FileException::FromErrno(errno, std::string(path));
  if (status.size > UINT32_MAX) {
    throw platform::FileException(platform::FileCause::InvalidFile, EFBIG, std::string(path));
  }
  ArchiveEntryHeader& header = entry.Header();
  header.SetName(status.fullName.size() < archive_layout::kNameFieldSize ? status.fullName
                                                                          : NameAndExtension(status.fullName));
  header.SetUncompressedSize(static_cast<uint32_t>(status.size));
  header.SetAttributes(static_cast<uint16_t>(status.attributes & 0xFF));
  header.SetFileTime(ToFileTime32(status.creationTime));
}
