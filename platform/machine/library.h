#pragma once
// Loading libraries on the emulated machine. A library is found where Windows
// looks first: the program's directory, the current directory, the System
// directory and the Windows directory. The machine runs no foreign code, so a found library exports nothing: every
// procedure lookup answers null, and a caller that treats a missing export as
// "not available" carries on exactly as on a machine without the library.

#include <cstdint>
#include <string_view>

namespace platform {

// A library handle: 0 when not loaded. Values up to 32 are error codes, as the
// old Windows loader returned them (2: file not found).
using LibraryHandle = std::uintptr_t;

// SEM_NOOPENFILEERRORBOX and friends; the machine shows no error boxes, so the
// mode is only kept and returned.
unsigned SetErrorMode(unsigned mode);

// Finds name (a file name, searched for, or a Windows path, taken as it is;
// ".DLL" when it has no extension) and returns a handle above 32, or 2 when
// there is no such file. Loading one file again gives the same handle, and
// it stays valid until freed as often as it was loaded.
LibraryHandle LoadLibrary(std::string_view name);
// Always null: see above.
void* GetProcAddress(LibraryHandle library, std::string_view procedureName);
bool FreeLibrary(LibraryHandle library);

}  // namespace platform
