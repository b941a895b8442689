#pragma once
// The registry of the emulated machine: keys and values under the four roots,
// kept in a SQLite database (<system root>/registry.db) and reached through
// handles in the shape of the Win32 registry functions. Names compare ignoring
// letter case and keep the case they were created with. Every change is durable
// once its call has returned success, and several processes may use one machine
// at once (the setup and qmtool).
//
// Status codes are the Windows ones (0 = success). Nothing here raises for a
// registry failure; a database that cannot be opened answers ERROR_CANTOPEN /
// ERROR_REGISTRY_CORRUPT from every call.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

using RegKey = std::uintptr_t;  // a handle; 0 is none
using RegStatus = long;

inline constexpr RegKey HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr RegKey HKEY_CURRENT_USER = 0x80000001u;
inline constexpr RegKey HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr RegKey HKEY_USERS = 0x80000003u;

inline constexpr RegStatus ERROR_SUCCESS = 0;
inline constexpr RegStatus ERROR_FILE_NOT_FOUND = 2;
inline constexpr RegStatus ERROR_ACCESS_DENIED = 5;
inline constexpr RegStatus ERROR_INVALID_HANDLE = 6;
inline constexpr RegStatus ERROR_INVALID_PARAMETER = 87;
inline constexpr RegStatus ERROR_MORE_DATA = 234;
inline constexpr RegStatus ERROR_NO_MORE_ITEMS = 259;
inline constexpr RegStatus ERROR_BADKEY = 1010;
inline constexpr RegStatus ERROR_CANTOPEN = 1011;
inline constexpr RegStatus ERROR_CANTREAD = 1012;
inline constexpr RegStatus ERROR_CANTWRITE = 1013;
inline constexpr RegStatus ERROR_REGISTRY_CORRUPT = 1015;
inline constexpr RegStatus ERROR_KEY_DELETED = 1018;

inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;
inline constexpr std::uint32_t REG_MULTI_SZ = 7;

inline constexpr std::uint32_t REG_OPTION_NON_VOLATILE = 0;
inline constexpr std::uint32_t REG_CREATED_NEW_KEY = 1;
inline constexpr std::uint32_t REG_OPENED_EXISTING_KEY = 2;

inline constexpr std::uint32_t KEY_READ = 0x20019;
inline constexpr std::uint32_t KEY_ALL_ACCESS = 0xF003F;

// Limits as on Windows: longer names fail with ERROR_INVALID_PARAMETER.
inline constexpr std::size_t kMaxKeyNameLength = 255;      // one component
inline constexpr std::size_t kMaxValueNameLength = 16383;

// Creates subKey under parent (components separated by backslashes; every
// missing one is created) or opens it when it exists. disposition (may be
// null) receives REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY. keyClass,
// options and security are kept as Windows keeps them and change nothing here.
RegStatus RegCreateKeyEx(RegKey parent, std::string_view subKey, std::string_view keyClass,
                         std::uint32_t options, std::uint32_t access, const void* security, RegKey* result,
                         std::uint32_t* disposition);
// Opens an existing key; ERROR_FILE_NOT_FOUND when it does not exist. An empty
// subKey opens parent itself anew.
RegStatus RegOpenKeyEx(RegKey parent, std::string_view subKey, std::uint32_t options, std::uint32_t access,
                       RegKey* result);
RegStatus RegCloseKey(RegKey key);

// Sets a value (an empty name is the key's default value). type is stored as
// given with the bytes; REG_SZ data is stored exactly as passed (no zero is added).
RegStatus RegSetValueEx(RegKey key, std::string_view valueName, std::uint32_t type,
                        std::span<const std::uint8_t> data);
// Reads a value. With data null only the type and size are reported. When
// *dataSize is too small: ERROR_MORE_DATA with *dataSize set to the size needed.
RegStatus RegQueryValueEx(RegKey key, std::string_view valueName, std::uint32_t* type, std::uint8_t* data,
                          std::uint32_t* dataSize);
RegStatus RegDeleteValue(RegKey key, std::string_view valueName);

// Deletes the key subKey of parent. A key with subkeys is not deleted on the NT
// platforms (ERROR_ACCESS_DENIED); on win95 its whole subtree goes. Handles
// still open on a deleted key answer ERROR_KEY_DELETED.
RegStatus RegDeleteKey(RegKey parent, std::string_view subKey);

// Enumeration, in a stable order (names compared ignoring case).
RegStatus RegEnumKey(RegKey key, std::uint32_t index, std::string* name);
struct RegValue {
  std::string name;
  std::uint32_t type = REG_NONE;
  std::vector<std::uint8_t> data;
};
RegStatus RegEnumValue(RegKey key, std::uint32_t index, RegValue* value);

// The root handle of a full root name such as "HKEY_LOCAL_MACHINE", compared
// ignoring case; 0 when unknown.
RegKey RootKeyFromName(std::string_view rootName);
std::string_view RootKeyName(RegKey root);

}  // namespace platform
