// The registry's tables in SQLite.

#include "platform/registry/registry_store.h"

#include <chrono>
#include <thread>

#include "platform/registry/registry_names.h"

namespace platform::registry_detail {
namespace {

constexpr int kBusyTimeoutMs = 5000;
constexpr int kSchemaVersion = 1;

struct RootRow {
  RegKey handle;
  KeyId id;
};
constexpr RootRow kRoots[] = {
    {HKEY_CLASSES_ROOT, 1}, {HKEY_CURRENT_USER, 2}, {HKEY_LOCAL_MACHINE, 3}, {HKEY_USERS, 4}};

RegValue ValueFromRow(const Statement& row) {
  RegValue value;
  value.name = row.Text(0);
  value.type = static_cast<std::uint32_t>(row.Int(1));
  value.data = row.Blob(2);
  return value;
}

}  // namespace

RegistryStore::RegistryStore(const std::filesystem::path& file) : file_(file), db_(file) {
  db_.Check(sqlite3_busy_timeout(db_.Handle(), kBusyTimeoutMs), "busy timeout");
  // Changing the journal mode needs the database to itself for a moment; a
  // second process opening it at the same time is waited for.
  for (int attempt = 0;; ++attempt) {
    Statement mode(db_, "PRAGMA journal_mode=WAL");
    try {
      if (mode.Step() && mode.Text(0) == "wal") break;
    } catch (const RegistryFailure&) {
      if (attempt >= 50) throw;
    }
    if (attempt >= 50) throw RegistryFailure(ERROR_CANTOPEN, "cannot switch " + file.string() + " to WAL");
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  // FULL: a commit is on disk before the call that made it returns.
  db_.Execute("PRAGMA synchronous=FULL");
  CreateSchema();
}

void RegistryStore::CreateSchema() {
  Transaction transaction(db_, Transaction::Kind::Write);
  Statement version(db_, "PRAGMA user_version");
  version.Step();
  const std::int64_t current = version.Int(0);
  if (current > kSchemaVersion) {
    throw RegistryFailure(ERROR_REGISTRY_CORRUPT, file_.string() + " has a newer layout");
  }
  if (current == kSchemaVersion) {
    transaction.Commit();
    return;
  }
  db_.Execute(
      "CREATE TABLE IF NOT EXISTS keys("
      " id INTEGER PRIMARY KEY AUTOINCREMENT,"
      " parent INTEGER REFERENCES keys(id),"
      " name BLOB NOT NULL, name_fold BLOB NOT NULL,"
      " class BLOB NOT NULL DEFAULT x'', options INTEGER NOT NULL DEFAULT 0,"
      " UNIQUE(parent, name_fold));"
      "CREATE TABLE IF NOT EXISTS key_values("
      " key INTEGER NOT NULL REFERENCES keys(id),"
      " name BLOB NOT NULL, name_fold BLOB NOT NULL,"
      " type INTEGER NOT NULL, data BLOB NOT NULL,"
      " UNIQUE(key, name_fold));");
  for (const RootRow& root : kRoots) {
    const std::string_view name = RootKeyName(root.handle);
    Statement insert(db_, "INSERT OR IGNORE INTO keys(id, parent, name, name_fold) VALUES(?1, NULL, ?2, ?3)");
    insert.Bind(1, root.id).BindText(2, name).BindText(3, FoldName(name)).Run();
  }
  db_.Execute("PRAGMA user_version=" + std::to_string(kSchemaVersion));
  transaction.Commit();
}

KeyId RegistryStore::RootId(RegKey root) {
  for (const RootRow& row : kRoots) {
    if (row.handle == root) return row.id;
  }
  return 0;
}

bool RegistryStore::KeyExists(KeyId key) {
  Statement query(db_, "SELECT 1 FROM keys WHERE id = ?1");
  return query.Bind(1, key).Step();
}

std::optional<KeyId> RegistryStore::FindChild(KeyId parent, std::string_view name) {
  Statement query(db_, "SELECT id FROM keys WHERE parent = ?1 AND name_fold = ?2");
  if (!query.Bind(1, parent).BindText(2, FoldName(name)).Step()) return std::nullopt;
  return query.Int(0);
}

KeyId RegistryStore::CreateChild(KeyId parent, std::string_view name, std::string_view keyClass,
                                 std::uint32_t options) {
  Statement insert(db_, "INSERT INTO keys(parent, name, name_fold, class, options) VALUES(?1, ?2, ?3, ?4, ?5)");
  insert.Bind(1, parent).BindText(2, name).BindText(3, FoldName(name)).BindText(4, keyClass).Bind(5, options).Run();
  return sqlite3_last_insert_rowid(db_.Handle());
}

bool RegistryStore::HasChildren(KeyId key) {
  Statement query(db_, "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1");
  return query.Bind(1, key).Step();
}

void RegistryStore::DeleteSubtree(KeyId key) {
  // Explicit cascades: the depth of a tree is not bounded by SQLite's trigger depth.
  constexpr std::string_view kSubtree =
      "WITH RECURSIVE subtree(id) AS (SELECT ?1 UNION ALL"
      " SELECT keys.id FROM keys JOIN subtree ON keys.parent = subtree.id) ";
  Statement values(db_, std::string(kSubtree) + "DELETE FROM key_values WHERE key IN (SELECT id FROM subtree)");
  values.Bind(1, key).Run();
  Statement keys(db_, std::string(kSubtree) + "DELETE FROM keys WHERE id IN (SELECT id FROM subtree)");
  keys.Bind(1, key).Run();
}

void RegistryStore::SetValue(KeyId key, std::string_view name, std::uint32_t type,
                             std::span<const std::uint8_t> data) {
  // A value set again keeps the case of the name it was first given, as keys do.
  Statement upsert(db_,
                   "INSERT INTO key_values(key, name, name_fold, type, data) VALUES(?1, ?2, ?3, ?4, ?5)"
                   " ON CONFLICT(key, name_fold) DO UPDATE SET type = excluded.type, data = excluded.data");
  upsert.Bind(1, key).BindText(2, name).BindText(3, FoldName(name)).Bind(4, type).BindBlob(5, data).Run();
}

std::optional<RegValue> RegistryStore::GetValue(KeyId key, std::string_view name) {
  Statement query(db_, "SELECT name, type, data FROM key_values WHERE key = ?1 AND name_fold = ?2");
  if (!query.Bind(1, key).BindText(2, FoldName(name)).Step()) return std::nullopt;
  return ValueFromRow(query);
}

bool RegistryStore::DeleteValue(KeyId key, std::string_view name) {
  Statement erase(db_, "DELETE FROM key_values WHERE key = ?1 AND name_fold = ?2");
  erase.Bind(1, key).BindText(2, FoldName(name)).Run();
  return sqlite3_changes(db_.Handle()) > 0;
}

std::int64_t RegistryStore::ChangeVersion() {
  Statement query(db_, "PRAGMA data_version");
  query.Step();
  // data_version counts other connections' commits, total_changes this one's.
  return (query.Int(0) << 32) ^ sqlite3_total_changes64(db_.Handle());
}

bool RegistryStore::Continues(const EnumCursor& cursor, KeyId key, std::uint32_t index, std::int64_t version) const {
  return cursor.key == key && cursor.version == version && index > 0 && cursor.index == index - 1;
}

std::optional<std::string> RegistryStore::ChildAt(KeyId key, std::uint32_t index) {
  const std::int64_t version = ChangeVersion();
  const bool next = Continues(childCursor_, key, index, version);
  Statement query(db_, next ? "SELECT name, name_fold FROM keys WHERE parent = ?1 AND name_fold > ?2"
                              " ORDER BY name_fold LIMIT 1"
                            : "SELECT name, name_fold FROM keys WHERE parent = ?1 ORDER BY name_fold LIMIT 1 OFFSET ?2");
  query.Bind(1, key);
  if (next) {
    query.BindText(2, childCursor_.fold);
  } else {
    query.Bind(2, index);
  }
  if (!query.Step()) return std::nullopt;
  childCursor_ = EnumCursor{key, index, query.Text(1), version};
  return query.Text(0);
}

std::optional<RegValue> RegistryStore::ValueAt(KeyId key, std::uint32_t index) {
  const std::int64_t version = ChangeVersion();
  const bool next = Continues(valueCursor_, key, index, version);
  Statement query(db_, next ? "SELECT name, type, data, name_fold FROM key_values WHERE key = ?1 AND name_fold > ?2"
                              " ORDER BY name_fold LIMIT 1"
                            : "SELECT name, type, data, name_fold FROM key_values WHERE key = ?1"
                              " ORDER BY name_fold LIMIT 1 OFFSET ?2");
  query.Bind(1, key);
  if (next) {
    query.BindText(2, valueCursor_.fold);
  } else {
    query.Bind(2, index);
  }
  if (!query.Step()) return std::nullopt;
  valueCursor_ = EnumCursor{key, index, query.Text(3), version};
  return ValueFromRow(query);
}

}  // namespace platform::registry_detail
