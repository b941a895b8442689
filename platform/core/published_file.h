#pragma once
// A new file's bytes written where no directory shows them, then put under
// their final name in one step. A process that dies while writing (SIGKILL, a
// power cut of the setup alone) leaves the old file, or none, and no stray
// temporary file that nothing would ever remove.
//
// The file is opened with O_TMPFILE in the final name's directory. Publishing
// links it in: straight under the final name when that name is free (a link
// never replaces), else under a fresh hidden name that is at once renamed over
// the old file, so only between those two calls could a temporary name be
// left. Where the file system has no O_TMPFILE, or /proc is missing, the bytes
// go to a hidden named file from the start, as before.
//
// Each step is a counted operation of fault_injection.h ("create", "write",
// "move", "close").

#include <filesystem>
#include <string_view>

namespace platform {

class PublishedFile {
 public:
  // Throws std::system_error when no file can be made in the directory.
  explicit PublishedFile(std::filesystem::path finalPath, unsigned mode = 0644);
  ~PublishedFile();  // an unpublished file goes away
  PublishedFile(const PublishedFile&) = delete;
  PublishedFile& operator=(const PublishedFile&) = delete;

  // Valid until Publish() returns; for fchmod, fchown, fstat, fsync and the like.
  int Descriptor() const { return fd_; }

  // Writes all of bytes; throws std::system_error (a full disk as ENOSPC).
  void Write(std::string_view bytes);

  // Puts the file under its final name and closes it; throws std::system_error,
  // leaving the old file in place.
  void Publish();

  // Deletes the hidden copies of finalPath that writers which have died since
  // left beside it. Hidden names carry their writer's process id, so a copy
  // being written right now is never touched.
  static void RemoveLeftovers(const std::filesystem::path& finalPath);

 private:
  void Link(const std::filesystem::path& name) const;

  std::filesystem::path finalPath_;
  std::filesystem::path namedTemp_;  // empty while the file has no name
  int fd_ = -1;
  bool published_ = false;
};

}  // namespace platform
