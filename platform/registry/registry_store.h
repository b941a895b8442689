#pragma once
// The registry's tables, reached by key id. Callers hold a Transaction around
// each registry call; the store itself only reads and writes rows.
//
//   keys(id, parent, name, name_fold, class, options)  UNIQUE(parent, name_fold)
//   key_values(key, name, name_fold, type, data)        UNIQUE(key, name_fold)
//
// The four roots are the rows 1..4. Ids are never reused (AUTOINCREMENT), so a
// handle on a deleted key cannot come to name another one.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/registry.h"
#include "platform/registry/sqlite_database.h"

namespace platform::registry_detail {

using KeyId = std::int64_t;

class RegistryStore {
 public:
  // Opens the database, switches it to write-ahead logging with full sync and
  // creates the tables and roots when missing.
  explicit RegistryStore(const std::filesystem::path& file);

  SqliteDatabase& Database() { return db_; }
  const std::filesystem::path& File() const { return file_; }

  static KeyId RootId(RegKey root);  // 0 when root is not one of the four

  bool KeyExists(KeyId key);
  std::optional<KeyId> FindChild(KeyId parent, std::string_view name);
  KeyId CreateChild(KeyId parent, std::string_view name, std::string_view keyClass, std::uint32_t options);
  bool HasChildren(KeyId key);
  // Removes the key, every key below it and all their values.
  void DeleteSubtree(KeyId key);

  void SetValue(KeyId key, std::string_view name, std::uint32_t type, std::span<const std::uint8_t> data);
  std::optional<RegValue> GetValue(KeyId key, std::string_view name);
  bool DeleteValue(KeyId key, std::string_view name);

  // The index-th child or value in the order of their folded names. Walking
  // the indexes in turn continues from the last one found instead of counting
  // from the start again, as long as the database has not changed meanwhile.
  std::optional<std::string> ChildAt(KeyId key, std::uint32_t index);
  std::optional<RegValue> ValueAt(KeyId key, std::uint32_t index);

 private:
  // Where the last enumeration of one kind stopped.
  struct EnumCursor {
    KeyId key = 0;
    std::uint32_t index = 0;
    std::string fold;
    std::int64_t version = -1;
  };

  void CreateSchema();
  // Changes whenever this or another connection has changed the database.
  std::int64_t ChangeVersion();
  bool Continues(const EnumCursor& cursor, KeyId key, std::uint32_t index, std::int64_t version) const;

  EnumCursor childCursor_;
  EnumCursor valueCursor_;

  std::filesystem::path file_;
  SqliteDatabase db_;
};

}  // namespace platform::registry_detail
