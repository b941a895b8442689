#pragma once
// Moves registry contents between the machine's registry and the REGEDIT4 model:
// reading a subtree out, applying a file's keys, values and deletions, and
// deleting a whole subtree. Key paths are full: a root name ("HKEY_LOCAL_MACHINE"
// or its short form HKLM, HKCU, HKCR, HKU) then components separated by
// backslashes; doubled, leading and trailing backslashes are ignored.

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "tools/qmtool/regedit4.h"

namespace qmtool {

// A registry call failed or a path does not name a key.
class RegistryTransferError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Every key under keyPath (itself first) with its values, depth-first, subkeys
// and values in name order ignoring case; without keyPath the four roots in
// turn. Paths are spelled as the registry keeps them. Throws
// RegistryTransferError when keyPath does not name an existing key.
RegFile ReadRegistry(const std::optional<std::string>& keyPath);

// Creates the keys of file with their values, deletes [-KEY] subtrees (a
// missing one is fine) and "name"=- values, in file order.
void ApplyToRegistry(const RegFile& file);

// Deletes the key with everything below it, children before their parents, so
// that the NT platforms' rule (no key with subkeys is deleted) never stops it.
// False when the key does not exist. A root cannot be deleted.
bool DeleteRegistryTree(std::string_view keyPath);

}  // namespace qmtool
