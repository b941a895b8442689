#pragma once
// The private-profile engine on host paths; private_profile.h puts Windows file
// names in front of it. Same semantics as the functions there.
//
// Files are kept parsed in a small process-wide cache that every call checks
// against the file's identity on disk (one stat()), so reading a value or adding
// a key costs no read of the file unless someone else changed it. A new key at
// the end of the file's last section is appended with one write(); any other
// change rewrites the file through a temporary file and a rename (see
// profile_file_writer.h for why neither leaves a half-written file).
//
// Writes are refused (false, errno EINVAL, file unchanged) when a section name,
// key or value holds a line break, which would inject lines into the file, and
// when a key holds "=" or starts with "[" or ";", or a section name holds "]":
// such names could never be read back. A file without write permission is
// refused with EACCES even where the process could replace it by a rename. A
// missing file reads as empty; a write creates it, but not its directory.

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace platform {

// seen, in the three calls below: the file's lstat() status just taken by the
// caller (from mapping its path), spared a second look; null or st_mode 0 when
// there is none.
std::size_t GetHostProfileString(const std::filesystem::path& file, const char* section, const char* key,
                                 const char* defaultValue, char* buffer, std::size_t size,
                                 const struct stat* seen = nullptr);

// The value's leading decimal digits; defaultValue when the key is missing or
// its value is empty (as on Windows).
unsigned GetHostProfileInt(const std::filesystem::path& file, const char* section, const char* key,
                           int defaultValue, const struct stat* seen = nullptr);

// False with errno set on failure. With a null section, key and value it only
// flushes (there is nothing to flush: every write is on disk when it returns).
bool WriteHostProfileString(const std::filesystem::path& file, const char* section, const char* key,
                            const char* value, const struct stat* seen = nullptr);

// Drops every cached file. Only needed by a caller that changes a file behind
// the engine's back twice within one tick of the file system's clock, keeping
// its size: the one change the identity check cannot see.
void FlushHostProfileCache();

// How many times the engine has read a file from disk; for tests.
std::uint64_t HostProfileDiskReads();

}  // namespace platform
