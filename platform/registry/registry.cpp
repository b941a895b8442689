// The registry functions: a process-wide connection to the current machine's
// registry.db, and a table of this process's open handles.
//
// Access masks are honoured as Windows does: a handle opened for reading
// cannot set values or create subkeys.

#include "platform/registry/registry.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

#include "platform/core/fault_injection.h"
#include "platform/machine/machine.h"
#include "platform/registry/registry_names.h"
#include "platform/registry/registry_store.h"

namespace platform {
namespace {

using registry_detail::KeyId;
using registry_detail::RegistryFailure;
using registry_detail::RegistryStore;
using registry_detail::Transaction;

constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
constexpr std::uint32_t KEY_SET_VALUE = 0x0002;
constexpr std::uint32_t KEY_CREATE_SUB_KEY = 0x0004;
constexpr std::uint32_t KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr std::uint32_t KEY_WRITE = 0x20006;
constexpr std::uint32_t GENERIC_READ = 0x80000000u;
constexpr std::uint32_t GENERIC_WRITE = 0x40000000u;
constexpr std::uint32_t GENERIC_ALL = 0x10000000u;
constexpr std::uint32_t MAXIMUM_ALLOWED = 0x02000000u;

struct OpenKey {
  KeyId id;
  std::uint32_t access;
  std::uint64_t generation;  // of the connection it was opened on
};

// Everything the functions share, behind one mutex.
struct RegistryState {
  std::mutex mutex;
  std::unique_ptr<RegistryStore> store;
  pid_t owner = 0;              // the process that opened store
  std::uint64_t generation = 0;  // counts connections, so handles of another machine are refused
  std::map<RegKey, OpenKey> handles;
  RegKey nextHandle = 0x1000;
};

RegistryState& State() {
  static RegistryState state;
  return state;
}

std::uint32_t EffectiveAccess(std::uint32_t access) {
  if (access & (GENERIC_ALL | MAXIMUM_ALLOWED)) access |= KEY_ALL_ACCESS;
  if (access & GENERIC_READ) access |= KEY_READ;
  if (access & GENERIC_WRITE) access |= KEY_WRITE;
  return access;
}

// The store of the current machine, opened on first use and again when the
// machine changes; a child process after fork opens its own.
RegistryStore& Store(RegistryState& state) {
  std::filesystem::path file;
  try {
    file = CurrentMachine().RegistryPath();
  } catch (const std::exception& e) {
    throw RegistryFailure(ERROR_CANTOPEN, e.what());
  }
  if (state.store && state.owner != getpid()) {
    state.store->Database().Abandon();
    state.store.reset();
  }
  if (!state.store || state.store->File() != file) {
    state.store.reset();
    state.handles.clear();
    ++state.generation;
    state.store = std::make_unique<RegistryStore>(file);
    state.owner = getpid();
  }
  return *state.store;
}

// The key a handle names, checked for the access it needs.
KeyId Resolve(RegistryState& state, RegistryStore& store, RegKey handle, std::uint32_t needed) {
  if (const KeyId root = RegistryStore::RootId(handle); root != 0) return root;
  const auto found = state.handles.find(handle);
  if (found == state.handles.end() || found->second.generation != state.generation) {
    throw RegistryFailure(ERROR_INVALID_HANDLE, "not an open key");
  }
  if (!store.KeyExists(found->second.id)) throw RegistryFailure(ERROR_KEY_DELETED, "key deleted");
  if ((found->second.access & needed) != needed) throw RegistryFailure(ERROR_ACCESS_DENIED, "access");
  return found->second.id;
}

RegKey NewHandle(RegistryState& state, KeyId id, std::uint32_t access) {
  const RegKey handle = state.nextHandle;
  state.nextHandle += 4;
  state.handles[handle] = OpenKey{id, EffectiveAccess(access), state.generation};
  return handle;
}

std::vector<std::string_view> SplitChecked(std::string_view subKey) {
  std::vector<std::string_view> components;
  if (!registry_detail::SplitKeyPath(subKey, &components)) throw RegistryFailure(ERROR_INVALID_PARAMETER, "path");
  for (const std::string_view component : components) {
    if (registry_detail::NameLength(component) > kMaxKeyNameLength) {
      throw RegistryFailure(ERROR_INVALID_PARAMETER, "key name too long");
    }
  }
  return components;
}

void CheckValueName(std::string_view name) {
  if (registry_detail::NameLength(name) > kMaxValueNameLength) {
    throw RegistryFailure(ERROR_INVALID_PARAMETER, "value name too long");
  }
}

// Walks subKey down from key; nullopt when a component is missing.
std::optional<KeyId> Find(RegistryStore& store, KeyId key, std::string_view subKey) {
  for (const std::string_view component : SplitChecked(subKey)) {
    const std::optional<KeyId> child = store.FindChild(key, component);
    if (!child) return std::nullopt;
    key = *child;
  }
  return key;
}

// An injected fault fails a change as SQLite fails a write that cannot reach
// the disk; called before the commit, so the change is rolled back.
void CheckInjectedFault(std::string_view operation, std::string_view name) {
  const int fault = InjectedFault(operation, name);
  if (fault == 0) return;
  const int code = fault == ENOSPC ? SQLITE_FULL : fault == EACCES ? SQLITE_PERM : SQLITE_IOERR;
  throw RegistryFailure(registry_detail::StatusOf(code), "injected fault");
}

// Runs body under the lock, turning a failure into its status.
template <typename Body>
RegStatus Guarded(Body&& body) {
  RegistryState& state = State();
  const std::lock_guard<std::mutex> lock(state.mutex);
  try {
    return body(state, Store(state));
  } catch (const RegistryFailure& failure) {
    return failure.Status();
  }
}

}  // namespace

RegStatus RegCreateKeyEx(RegKey parent, std::string_view subKey, std::string_view keyClass, std::uint32_t options,
                         std::uint32_t access, const void* /*security*/, RegKey* result,
                         std::uint32_t* disposition) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  return Guarded([&](RegistryState& state, RegistryStore& store) {
    const std::vector<std::string_view> components = SplitChecked(subKey);
    Transaction transaction(store.Database(), Transaction::Kind::Write);
    KeyId key = Resolve(state, store, parent, 0);
    bool created = false;
    for (const std::string_view component : components) {
      if (const std::optional<KeyId> child = store.FindChild(key, component)) {
        key = *child;
        continue;
      }
      if (!created) Resolve(state, store, parent, KEY_CREATE_SUB_KEY);
      key = store.CreateChild(key, component, keyClass, options);
      created = true;
    }
    CheckInjectedFault("regcreate", subKey);
    transaction.Commit();
    *result = NewHandle(state, key, access);
    if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
  });
}

RegStatus RegOpenKeyEx(RegKey parent, std::string_view subKey, std::uint32_t /*options*/, std::uint32_t access,
                       RegKey* result) {
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  return Guarded([&](RegistryState& state, RegistryStore& store) {
    Transaction transaction(store.Database(), Transaction::Kind::Read);
    const std::optional<KeyId> key = Find(store, Resolve(state, store, parent, 0), subKey);
    if (!key) return ERROR_FILE_NOT_FOUND;
    *result = NewHandle(state, *key, access);
    return ERROR_SUCCESS;
  });
}

RegStatus RegCloseKey(RegKey key) {
  if (RegistryStore::RootId(key) != 0) return ERROR_SUCCESS;
  RegistryState& state = State();
  const std::lock_guard<std::mutex> lock(state.mutex);
  return state.handles.erase(key) > 0 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

RegStatus RegSetValueEx(RegKey key, std::string_view valueName, std::uint32_t type,
                        std::span<const std::uint8_t> data) {
  if (data.size() > 0xFFFFFFFFu) return ERROR_INVALID_PARAMETER;
  return Guarded([&](RegistryState& state, RegistryStore& store) {
    CheckValueName(valueName);
    Transaction transaction(store.Database(), Transaction::Kind::Write);
    store.SetValue(Resolve(state, store, key, KEY_SET_VALUE), valueName, type, data);
    CheckInjectedFault("regset", valueName);
    transaction.Commit();
    return ERROR_SUCCESS;
  });
}

RegStatus RegQueryValueEx(RegKey key, std::string_view valueName, std::uint32_t* type, std::uint8_t* data,
                          std::uint32_t* dataSize) {
  if (data != nullptr && dataSize == nullptr) return ERROR_INVALID_PARAMETER;
  return Guarded([&](RegistryState& state, RegistryStore& store) {
    CheckValueName(valueName);
    Transaction transaction(store.Database(), Transaction::Kind::Read);
    const std::optional<RegValue> value = store.GetValue(Resolve(state, store, key, KEY_QUERY_VALUE), valueName);
    if (!value) return ERROR_FILE_NOT_FOUND;
    if (type != nullptr) *type = value->type;
    if (dataSize == nullptr) return ERROR_SUCCESS;
    const auto size = static_cast<std::uint32_t>(value->data.size());
    const bool fits = *dataSize >= size;
    *dataSize = size;
    if (data == nullptr) return ERROR_SUCCESS;
    if (!fits) return ERROR_MORE_DATA;
    std::copy(value->data.begin(), value->data.end(), data);
    return ERROR_SUCCESS;
  });
}

RegStatus RegDeleteValue(RegKey key, std::string_view valueName) {
  return Guarded([&](RegistryState& state, RegistryStore& store) {
    CheckValueName(valueName);
    Transaction transaction(store.Database(), Transaction::Kind::Write);
    if (!store.DeleteValue(Resolve(state, store, key, KEY_SET_VALUE), valueName)) return ERROR_FILE_NOT_FOUND;
    CheckInjectedFault("regdelete", valueName);
    transaction.Commit();
    return ERROR_SUCCESS;
  });
}

RegStatus RegDeleteKey(RegKey parent, std::string_view subKey) {
  return Guarded([&](RegistryState& state, RegistryStore& store) {
    // The platform is read before the transaction: the machine is not the registry's to lock.
    const bool deletesSubtree = CurrentMachine().Config().platform == PlatformKind::Win95;
    Transaction transaction(store.Database(), Transaction::Kind::Write);
    const std::optional<KeyId> key = Find(store, Resolve(state, store, parent, 0), subKey);
    if (!key) return ERROR_FILE_NOT_FOUND;
    if (*key <= 4) return ERROR_ACCESS_DENIED;  // a root stays
    if (!deletesSubtree && store.HasChildren(*key)) return ERROR_ACCESS_DENIED;
    store.DeleteSubtree(*key);
    CheckInjectedFault("regdeletekey", subKey);
    transaction.Commit();
    return ERROR_SUCCESS;
  });
}

RegStatus RegEnumKey(RegKey key, std::uint32_t index, std::string* name) {
  if (name == nullptr) return ERROR_INVALID_PARAMETER;
  return Guarded([&](RegistryState& state, RegistryStore& store) {
    Transaction transaction(store.Database(), Transaction::Kind::Read);
    std::optional<std::string> child = store.ChildAt(Resolve(state, store, key, KEY_ENUMERATE_SUB_KEYS), index);
    if (!child) return ERROR_NO_MORE_ITEMS;
    *name = std::move(*child);
    return ERROR_SUCCESS;
  });
}

RegStatus RegEnumValue(RegKey key, std::uint32_t index, RegValue* value) {
  if (value == nullptr) return ERROR_INVALID_PARAMETER;
  return Guarded([&](RegistryState& state, RegistryStore& store) {
    Transaction transaction(store.Database(), Transaction::Kind::Read);
    std::optional<RegValue> found = store.ValueAt(Resolve(state, store, key, KEY_QUERY_VALUE), index);
    if (!found) return ERROR_NO_MORE_ITEMS;
    *value = std::move(*found);
    return ERROR_SUCCESS;
  });
}

RegKey RootKeyFromName(std::string_view rootName) {
  const std::string folded = registry_detail::FoldName(rootName);
  for (const RegKey root : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS}) {
    if (registry_detail::FoldName(RootKeyName(root)) == folded) return root;
  }
  return 0;
}

std::string_view RootKeyName(RegKey root) {
  switch (root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    default: return {};
  }
}

}  // namespace platform
