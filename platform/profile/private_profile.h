#pragma once
// The private-profile functions with Windows semantics, on files named by Windows
// path (a bare file name lies in the Windows directory).
//
// Writes never leave a half-written file: a new key at the end of the file's last
// section is appended with one write of the whole line; every other change
// writes a new file beside the old one and renames it over it. A value, key or
// section name that holds a line break is refused (false, nothing written), as
// it would inject lines into the file; so are names that could not be read
// back: a key holding "=" or starting with "[" or ";", a section name holding
// "]". A file without write permission is refused as on Windows, even where a
// rename would get round it. Files are kept parsed between calls and checked
// against the disk on each, so changes by other processes are seen.

#include <cstddef>
#include <string_view>

namespace platform {

// Reads a value into buffer (size bytes, terminating NUL included) and returns
// the number of characters copied. Blanks around the value and one pair of
// matching quotes around it are removed. A missing file, section or key gives
// defaultValue (null reads as ""). A value that does not fit is cut to size - 1.
// With a null key: the section's key names, each NUL-terminated, the list ended
// by an empty name; with a null section: the section names likewise. A list that
// does not fit is cut after the last name that fits whole (the rest of the
// buffer NULs) and size - 2 is returned; so is a list that fits exactly.
std::size_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                    char* buffer, std::size_t size, std::string_view fileName);

// The value read as a decimal number from its leading digits (optional sign);
// defaultValue when the key is missing or its value is empty, as on Windows.
unsigned GetPrivateProfileInt(const char* section, const char* key, int defaultValue,
                              std::string_view fileName);

// Writes value under section and key. A null value deletes the key, a null key the
// whole section. A key written twice keeps its place; a new key goes after the
// last line of its section that is not blank, a new section to the end of the
// file. A missing file is created, with CRLF line ends; a missing directory is
// a failure. False with errno set on failure.
bool WritePrivateProfileString(const char* section, const char* key, const char* value,
                               std::string_view fileName);

}  // namespace platform
