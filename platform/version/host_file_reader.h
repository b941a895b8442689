#pragma once
// Bounded reads of a regular host file. Every read names its range and fails
// when the range is not wholly inside the file, so a parser driven by untrusted
// offsets can never read past the end or allocate by a size taken from the file.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace platform {

class HostFileReader {
 public:
  // Opens a regular file for reading. Nullopt when it cannot be opened or is not
  // a regular file (a directory, a FIFO that would block, a device).
  static std::optional<HostFileReader> Open(const std::filesystem::path& hostPath);

  ~HostFileReader();
  HostFileReader(const HostFileReader&) = delete;
  HostFileReader& operator=(const HostFileReader&) = delete;
  HostFileReader(HostFileReader&& other) noexcept;
  HostFileReader& operator=(HostFileReader&& other) noexcept;

  // The file's size when it was opened.
  uint64_t Size() const { return size_; }

  // Copies length bytes from offset into out. False when the range reaches past
  // the end of the file or the read fails; out is then unspecified.
  bool ReadAt(uint64_t offset, std::size_t length, void* out);

 private:
  HostFileReader(int fd, uint64_t size);
  bool ReadFromFile(uint64_t offset, std::size_t length, uint8_t* out) const;

  int fd_ = -1;
  uint64_t size_ = 0;
  // Parsers ask for many small fields close together; one aligned window of the
  // file answers most of them without a system call each.
  std::vector<uint8_t> window_;
  uint64_t windowStart_ = 0;
};

}  // namespace platform
