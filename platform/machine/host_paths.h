#pragma once
// Host path arithmetic shared by the machine and the file layer. Host paths are
// compared lexically, never with symlinks resolved, so that a path keeps the
// drive it was given under.

#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Absolute (against the process's current directory), lexically normal and
// without a trailing separator, except for "/" itself.
std::filesystem::path LexicalHostPath(const std::filesystem::path& path);

// True when path is dir or lies below it; both must be lexical host paths.
bool HostPathWithin(const std::filesystem::path& dir, const std::filesystem::path& path);

// name with its ASCII capitals made small: the key under which names that
// differ only in letter case meet.
std::string FoldAsciiCase(std::string_view name);

// Letter case folding of ASCII letters only, independent of the locale: the
// host's names are bytes, and Windows' own folding tables are not ours to copy.
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

// The name of dir's entry that equals name ignoring letter case: name itself
// when it exists exactly, else the first such entry in byte order, else nullopt.
std::optional<std::string> FindEntryIgnoringCase(const std::filesystem::path& dir, std::string_view name);

// base followed by components, each looked up with FindEntryIgnoringCase; from
// the first component that does not exist on, the given spelling is kept.
// seen, when given, gets the lstat() status of the result when the look-up
// made one and found the entry there, and st_mode 0 otherwise: a caller about
// to stat the result spares the second call.
std::filesystem::path ResolveIgnoringCase(const std::filesystem::path& base,
                                          const std::vector<std::string>& components, struct stat* seen = nullptr);

}  // namespace platform
