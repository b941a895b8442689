#pragma once
// The two ways an INI file is written so that it is complete on disk whatever
// instant the writing process dies at.
//
// Appending: the new lines go to the end of the file with one write() of the
// whole text on a descriptor opened with O_APPEND. The kernel copies such a write
// into the page cache before the process can die (SIGKILL is only acted on
// between page-sized pieces of a write, never inside one), and a dead process's
// data in the page cache still reaches the disk. So a line that does not cross a
// page boundary of the file is there whole or not at all. One that crosses a
// boundary (about once per 4 KB of log) has a short window between its two
// pages, longer when the kernel throttles dirty pages right there, in which a
// SIGKILL would cut it at the boundary. A short write that the process survives
// (a full disk) is cut back to the old size, so no partial line remains.
//
// Replacing: the whole new text goes to a file without a name in the same
// directory (published_file.h), which takes the original's permission bits,
// owner and user extended attributes (the DOS attributes live there), and is
// then put in the original's place by a rename. The name shows the old file or
// the new one, never a mixture, and a process that dies while writing leaves
// nothing else behind.
//
// Neither path calls fsync: they guard against the process dying, not against
// the machine losing power.

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "platform/core/unique_fd.h"
#include "platform/profile/profile_cache.h"

namespace platform {

// The file on disk is not the one the caller's text was based on: another
// process changed, created or removed it. Nothing was written.
class FileChangedError : public std::runtime_error {
 public:
  FileChangedError() : std::runtime_error("the file changed on disk") {}
};

// Appends bytes with one write(). `expected` is the identity the file must still
// have (nullopt: the file must not exist yet, and is created). Returns the file's
// status afterwards. Throws FileChangedError, or std::system_error on failure.
//
// `kept` carries a descriptor of the file (opened with O_APPEND) from one call
// to the next, so that a log written a line at a time costs a write() and an
// fstat() per line rather than an open() and a close() as well. When it is open
// on entry the caller vouches that it is the descriptor whose status was
// `expected`, and that the name still has that identity (the cache checks the
// name with stat() before every use); it is left open on success.
struct stat AppendToFile(const std::filesystem::path& file, std::string_view bytes,
                         const std::optional<FileIdentity>& expected, UniqueFd& kept);

// Cuts the file back to `size` bytes, its text without its last lines; a
// single ftruncate(), so the cut is there or not. `expected` and `kept` as for
// AppendToFile. Returns the file's status afterwards.
struct stat TruncateFile(const std::filesystem::path& file, off_t size, const FileIdentity& expected,
                         UniqueFd& kept);

// Replaces the file's whole text through a temporary file and a rename, writing
// through a symbolic link to the file it names. `original` is the status of the
// file being replaced (null: a new file, with the default permissions). Returns
// the new file's status. Throws std::system_error on failure, leaving the file
// as it was.
struct stat ReplaceFile(const std::filesystem::path& file, std::string_view text, const struct stat* original);

// The path a chain of symbolic links ends at (the path itself when it is none).
std::filesystem::path ResolveSymlinks(const std::filesystem::path& file);

}  // namespace platform
