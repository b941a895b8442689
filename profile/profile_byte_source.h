#pragma once
// Where the profile scanner takes its bytes from: a file of the emulated machine
// or, for tests and the fuzzer, a text in memory. Both read one byte at a time
// with one byte of look-ahead, as a buffered C file reader does.

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Which host file a source reads, so that an include of a file that is already
// being read can be recognised whatever name it was given.
struct ProfileFileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  bool operator==(const ProfileFileIdentity&) const = default;
};

class ProfileByteSource {
 public:
  static constexpr int kEnd = -1;

  virtual ~ProfileByteSource() = default;
  // The next byte (0..255), or kEnd.
  virtual int Get() = 0;
  // The next byte without taking it, or kEnd.
  virtual int Peek() = 0;
  // True once a read failed for another reason than the end of the data.
  virtual bool Failed() const { return false; }
  // The host file read, when there is one.
  virtual std::optional<ProfileFileIdentity> Identity() const { return std::nullopt; }
};

// A source over a copy of text.
std::unique_ptr<ProfileByteSource> MakeMemoryByteSource(std::string_view text);

// A source over the host file that a Windows file name names (relative names
// against the current directory). Null when the name cannot be mapped, the file
// cannot be opened, or it is not a regular file: a device or a pipe could block
// or never end, and a profile is only ever a plain file.
std::unique_ptr<ProfileByteSource> OpenProfileFileSource(std::string_view winFileName);
