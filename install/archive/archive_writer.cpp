#include "install/archive/archive_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "install/archive/archive_checksum.h"
#include "install/archive/archive_volume_reader.h"
#include "install/errors/multi_file_exception.h"
#include "platform/core/exceptions.h"
#include "platform/fs/file_ops.h"
#include "platform/fs/path_map.h"
#include "support/file_status.h"

namespace {

// The bytes kept back at the end of the newest entry's data: enough to start
// the next volume with at least one of them when the next header would not fit.
constexpr std::size_t kHeldBytes = archive_layout::kEntryHeaderSize;

constexpr uint32_t kStoredAttributes =
    platform::kAttrReadOnly | platform::kAttrHidden | platform::kAttrSystem | platform::kAttrArchive;

}  // namespace

// Reads a source file for the codec, with its size, checksum and progress.
class CArchiveWriter::SourceReader final : public CodecSource {
 public:
  SourceReader(platform::File& file, CArchiveWriter& writer) : file_(file), writer_(writer) {}

  std::size_t Read(void* buffer, std::size_t count) override {
    const std::size_t got = file_.Read(buffer, count);
    bytes_ += got;
    if (bytes_ > UINT32_MAX) throw ArchiveWriterError(file_.FilePath() + " is larger than 4 GB");
    checksum_ = ArchiveChecksum(buffer, got, checksum_);
    writer_.sourceTotal_ += got;
    if (writer_.progress_ && got > 0) writer_.progress_(writer_.sourceTotal_);
    return got;
  }

  uint64_t Bytes() const { return bytes_; }
  uint32_t Checksum() const { return checksum_; }

 private:
  platform::File& file_;
  CArchiveWriter& writer_;
  uint64_t bytes_ = 0;
  uint32_t checksum_ = 0;
};

// Takes the codec's output for one entry into the volumes.
class CArchiveWriter::EntrySink final : public CodecSink {
 public:
  EntrySink(CArchiveWriter& writer, std::size_t entry) : writer_(writer), entry_(entry) {}

  void Write(const void* buffer, std::size_t count) override {
    if (count == 0) return;
    if (!started_) {
      // The header goes out in front of the first data byte; an entry that
      // never gets one waits with the headers held back.
      writer_.pendingHeaders_.push_back(entry_);
      writer_.PlacePending();
      writer_.dataEntry_ = entry_;
      started_ = true;
    }
    bytes_ += count;
    writer_.ReceiveData(entry_, static_cast<const unsigned char*>(buffer), count);
  }

  uint64_t Bytes() const { return bytes_; }

 private:
  CArchiveWriter& writer_;
  std::size_t entry_;
  uint64_t bytes_ = 0;
  bool started_ = false;
};

CArchiveWriter::CArchiveWriter(std::string firstVolumePath, ArchiveWriterOptions options)
    : firstVolume_(std::move(firstVolumePath)), options_(options) {
  if (options_.volumeSize != 0 && options_.volumeSize < kMinimumVolumeSize) {
    throw ArchiveWriterError("volume size " + std::to_string(options_.volumeSize) + " is below the minimum of " +
                             std::to_string(kMinimumVolumeSize) + " bytes");
  }
  out_.Open(firstVolume_, platform::open_mode::kCreate | platform::open_mode::kReadWrite);
  volumes_.push_back(firstVolume_);
  WriteArchiveHeader();
}

CArchiveWriter::~CArchiveWriter() = default;

void CArchiveWriter::Add(const ArchiveMember& member) {
  if (finished_) throw std::logic_error("CArchiveWriter::Add after Finish or Discard");
  platform::FileStatus status;
  if (!platform::GetFileStatus(member.path, status)) throw platform::FileException::FromErrno(errno, member.path);
  if ((status.attributes & platform::kAttrDirectory) != 0) {
    throw platform::FileException(platform::FileCause::AccessDenied, EISDIR, member.path);
  }
  CheckNotOwnVolume(member.path);

  Entry entry;
  ArchiveEntryHeader& header = entry.header;
  const std::string name = member.name.empty() ? NameAndExtension(status.fullName) : member.name;
  if (name.size() >= archive_layout::kNameFieldSize) {
    throw ArchiveWriterError("the name " + name.substr(0, 60) + "... is longer than an entry can hold");
  }
  header.SetName(name);
  header.SetFileTime(member.fileTime.value_or(ToFileTime32(status.lastWriteTime)));
  header.SetAttributes(member.attributes.value_or(static_cast<uint16_t>(status.attributes & kStoredAttributes)));
  header.SetDestinationId(member.destinationId);
  const uint32_t method = member.method.value_or(options_.method);
  header.SetMethod(method);
  std::unique_ptr<CCodec> codec = ::CreateCodec(method, 0);
  if (!codec) throw CMultiFileException(CMultiFileException::kUnknownMethod);

  platform::File in;
  in.Open(member.path, platform::open_mode::kRead);
  entries_.push_back(std::move(entry));
  const std::size_t index = entries_.size() - 1;
  // A failure half-way leaves volumes that no Finish can complete.
  failed_ = true;
  SourceReader source(in, *this);
  EntrySink sink(*this, index);
  codec->Encode(source, sink);
  failed_ = false;

  ArchiveEntryHeader& written = entries_[index].header;
  written.SetUncompressedSize(static_cast<uint32_t>(source.Bytes()));
  written.SetCompressedSize(static_cast<uint32_t>(sink.Bytes()));
  written.SetChecksum(source.Checksum());
  if (sink.Bytes() == 0) pendingHeaders_.push_back(index);
}

void CArchiveWriter::Finish() {
  if (finished_) return;
  if (failed_) throw std::logic_error("CArchiveWriter::Finish after a failed Add: discard the archive");
  PlacePending();
  PatchHeaders();
  finished_ = true;
}

void CArchiveWriter::Discard() noexcept {
  out_.Abort();
  for (const std::string& volume : volumes_) platform::DeleteFile(volume);
  finished_ = true;
}

std::vector<ArchiveEntryHeader> CArchiveWriter::Headers() const {
  std::vector<ArchiveEntryHeader> headers;
  headers.reserve(entries_.size());
  for (const Entry& entry : entries_) headers.push_back(entry.header);
  return headers;
}

std::vector<std::size_t> CArchiveWriter::HeaderVolumes() const {
  std::vector<std::size_t> volumes;
  volumes.reserve(entries_.size());
  for (const Entry& entry : entries_) volumes.push_back(entry.volume);
  return volumes;
}

void CArchiveWriter::ReceiveData(std::size_t, const unsigned char* data, std::size_t count) {
  if (count > kMaximumDataBytes - dataTotal_) {
    throw ArchiveWriterError("the archive's data would pass " + std::to_string(kMaximumDataBytes) +
                             " bytes, more than a reader counts");
  }
  dataTotal_ += count;
  if (options_.volumeSize == 0) {
    WriteData(data, count);
  } else {
    HoldBack(data, count);
  }
}

void CArchiveWriter::HoldBack(const unsigned char* data, std::size_t count) {
  const std::size_t total = tail_.size() + count;
  if (total <= kHeldBytes) {
    tail_.insert(tail_.end(), data, data + count);
    return;
  }
  const std::size_t out = total - kHeldBytes;
  const std::size_t fromTail = std::min(out, tail_.size());
  WriteData(tail_.data(), fromTail);
  const std::size_t fromData = out - fromTail;
  WriteData(data, fromData);
  tail_.erase(tail_.begin(), tail_.begin() + static_cast<std::ptrdiff_t>(fromTail));
  tail_.insert(tail_.end(), data + fromData, data + count);
}

void CArchiveWriter::PlacePending() {
  const uint64_t size = options_.volumeSize;
  const uint64_t headerBytes = pendingHeaders_.size() * archive_layout::kEntryHeaderSize;
  if (size == 0 || offset_ + tail_.size() + headerBytes <= size || pendingHeaders_.empty()) {
    WriteData(tail_.data(), tail_.size());
    tail_.clear();
    WritePendingHeaders();
    return;
  }
  if (tail_.empty()) {
    throw ArchiveWriterError(std::to_string(pendingHeaders_.size()) +
                             " entries in a row without data do not fit in one volume of " + std::to_string(size) +
                             " bytes");
  }
  // Start the next volume early: at least one byte of the data goes with the
  // headers, so that the reader switches volumes inside the data read.
  const std::size_t keep = static_cast<std::size_t>(std::min<uint64_t>(tail_.size() - 1, size - offset_));
  const std::size_t carried = tail_.size() - keep;
  if (archive_layout::kArchiveHeaderSize + carried + headerBytes > size) {
    throw ArchiveWriterError(std::to_string(pendingHeaders_.size()) +
                             " entries in a row without data do not fit in one volume of " + std::to_string(size) +
                             " bytes");
  }
  WriteData(tail_.data(), keep);
  StartNextVolume();
  WriteData(tail_.data() + keep, carried);
  tail_.clear();
  WritePendingHeaders();
}

void CArchiveWriter::WriteData(const unsigned char* data, std::size_t count) {
  const uint64_t size = options_.volumeSize;
  while (count > 0) {
    if (size != 0 && offset_ >= size) StartNextVolume();
    const std::size_t piece = size == 0 ? count : static_cast<std::size_t>(std::min<uint64_t>(count, size - offset_));
    out_.Write(data, piece);
    offset_ += piece;
    data += piece;
    count -= piece;
  }
}

void CArchiveWriter::WritePendingHeaders() {
  for (const std::size_t index : pendingHeaders_) {
    Entry& entry = entries_[index];
    if (options_.volumeSize != 0 && offset_ + archive_layout::kEntryHeaderSize > options_.volumeSize) {
      throw std::logic_error("archive writer: a header would straddle two volumes");
    }
    entry.volume = volumes_.size() - 1;
    entry.offset = offset_;
    entry.placed = true;
    out_.Write(entry.header.Raw().data(), entry.header.Raw().size());
    offset_ += archive_layout::kEntryHeaderSize;
  }
  pendingHeaders_.clear();
}

void CArchiveWriter::StartNextVolume() {
  const std::optional<std::string> next = NextVolumeName(volumes_.back());
  if (!next) {
    throw ArchiveWriterError("the archive needs a volume after " + volumes_.back() +
                             ", and the last character of its name cannot count further");
  }
  out_.Close();
  out_.Open(*next, platform::open_mode::kCreate | platform::open_mode::kReadWrite);
  volumes_.push_back(*next);
  WriteArchiveHeader();
  if (dataEntry_) entries_[*dataEntry_].header.SetContinued(1);
}

void CArchiveWriter::WriteArchiveHeader() {
  unsigned char header[archive_layout::kArchiveHeaderSize] = {};
  std::memcpy(header, archive_layout::kArchiveMagic, sizeof archive_layout::kArchiveMagic);
  out_.Write(header, sizeof header);
  offset_ = sizeof header;
}

void CArchiveWriter::PatchHeaders() {
  out_.Close();
  platform::File volume;
  std::size_t open = volumes_.size();
  for (const Entry& entry : entries_) {
    if (!entry.placed) throw std::logic_error("archive writer: an entry header was never placed");
    if (entry.volume != open) {
      volume.Close();
      volume.Open(volumes_[entry.volume], platform::open_mode::kReadWrite);
      open = entry.volume;
    }
    volume.Seek(static_cast<int64_t>(entry.offset), platform::SeekFrom::Begin);
    volume.Write(entry.header.Raw().data(), entry.header.Raw().size());
  }
  volume.Close();
}

void CArchiveWriter::CheckNotOwnVolume(const std::string& path) const {
  std::filesystem::path source;
  if (!platform::MapToHost(path, source)) return;
  for (const std::string& volumePath : volumes_) {
    std::filesystem::path volume;
    std::error_code ec;
    if (platform::MapToHost(volumePath, volume) && std::filesystem::equivalent(source, volume, ec)) {
      throw ArchiveWriterError("cannot add " + path + " to the archive it is a volume of");
    }
  }
}
