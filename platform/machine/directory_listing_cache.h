#pragma once
// The names of host directories as the case-insensitive lookup last read them.
//
// Finding "readme.txt" where the directory may hold "README.TXT" takes a read
// of the whole directory whenever the exact name is missing, and a copy asks
// that of every new file several times over (its temporary name, its creation,
// its place). The listing is kept per directory (device and inode) with the
// directory's change times, and is used again only while those times are
// unchanged and the listing can be trusted:
//   - a listing read from disk is trusted when the directory had not changed
//     for a while before the read: a later change then shows in its times even
//     where the file system's clock is coarse;
//   - the platform's own creates, renames and deletes are written through
//     (NoteHostEntryChanged), and a directory it has just made starts empty.
// Anything else that changes a directory changes its times, and the next
// lookup reads it again.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The entry of dir equal to name ignoring ASCII case, the first in byte order;
// nullopt when there is none or dir cannot be read. directoryMissing, when
// given, tells whether dir itself was not there (or not a directory).
std::optional<std::string> CachedEntryIgnoringCase(const std::filesystem::path& dir, std::string_view name,
                                                   bool* directoryMissing = nullptr);

// path (a host path) was just created, renamed or deleted by this process,
// and is now what `now` says: the caller knows, so nothing is looked up.
enum class HostEntryNow { Gone, File, Directory };
void NoteHostEntryChanged(const std::filesystem::path& path, HostEntryNow now);
// path is a directory this process has just created: it is empty.
void NoteHostDirectoryCreated(const std::filesystem::path& path);

}  // namespace platform
