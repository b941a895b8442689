#pragma once
// Windows paths on the host. The product sees Windows paths only (drive letter,
// backslashes, at most kMaxPath characters); these functions carry them to host
// paths through the machine's drive table and back.

#include <sys/stat.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

inline constexpr std::size_t kMaxPath = 260;

// The full Windows path of a path that may be relative ("A\B"), rooted on the
// current drive ("\A"), drive-relative ("C:A") or written with "/" separators.
// "." and ".." are resolved without going above the drive root; the result has
// an upper-case drive letter and backslashes ("C:\A\B"); a trailing backslash
// is kept ("C:\A\"), as Windows keeps it. False, with errno set,
// when the path is empty, malformed (EINVAL) or longer than kMaxPath (ENAMETOOLONG).
bool GetFullPathName(std::string_view path, std::string& fullPath);

// The host path of a Windows path: the drive's host directory, then each
// component looked up ignoring letter case, an exact match first. Components
// that do not exist keep the case they were given. False, with errno set: EINVAL
// (malformed), ENAMETOOLONG (longer than kMaxPath), ENODEV (drive not mapped).
// seen: as for ResolveIgnoringCase.
bool MapToHost(std::string_view winPath, std::filesystem::path& hostPath, struct stat* seen = nullptr);

// The Windows path of a host path: the drive whose host directory holds it (the
// longest match), else Z:, which reaches every host path.
std::string MapToWindows(const std::filesystem::path& hostPath);

// Records argv[0] at start so that the program's own path is the one it was
// started with, not one with symlinks resolved.
void SetProgramArgv0(const char* argv0);
// The program's own path as a Windows path (the module file name).
std::string GetModuleFileName();

}  // namespace platform
