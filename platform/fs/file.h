#pragma once
// A binary file opened by Windows path. Failures raise FileException with the
// cause mapped from the host's errno.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

namespace open_mode {
inline constexpr unsigned kRead = 0x0000;
inline constexpr unsigned kWrite = 0x0001;
inline constexpr unsigned kReadWrite = 0x0002;
inline constexpr unsigned kCreate = 0x1000;      // create, truncating an existing file
inline constexpr unsigned kNoTruncate = 0x2000;  // with kCreate: keep an existing file's bytes
}  // namespace open_mode

enum class SeekFrom { Begin, Current, End };

class File {
 public:
  File() = default;
  ~File();  // closes without raising
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;

  // Closes a file that is still open first. Writers of a read-only file and any
  // open of a directory fail with AccessDenied. Every other operation on a
  // closed file raises InvalidFile.
  void Open(std::string_view winPath, unsigned mode);
  bool IsOpen() const { return fd_ >= 0; }
  // The Windows path the file was opened with.
  const std::string& FilePath() const { return path_; }

  // Reads up to n bytes; fewer only at the end of the file.
  std::size_t Read(void* buffer, std::size_t n);
  // Writes all n bytes (a full disk raises DiskFull).
  void Write(const void* buffer, std::size_t n);
  uint64_t Seek(int64_t offset, SeekFrom from);
  uint64_t GetPosition() const;
  uint64_t GetLength() const;
  void Flush();
  void Close();  // raises when the close reports an error
  void Abort();  // closes and never raises

 private:
  int fd_ = -1;
  bool written_ = false;  // a close that may lose written bytes is one that can fail
  std::string path_;
};

}  // namespace platform
