#pragma once
// A thin owner of one SQLite connection and its prepared statements. Every
// SQLite failure becomes a RegistryFailure carrying the Windows status that the
// registry functions answer with.

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/registry/registry.h"

namespace platform::registry_detail {

class RegistryFailure : public std::runtime_error {
 public:
  RegistryFailure(RegStatus status, const std::string& what) : std::runtime_error(what), status_(status) {}
  RegStatus Status() const { return status_; }

 private:
  RegStatus status_;
};

// The Windows status of a SQLite result code.
RegStatus StatusOf(int code);

class SqliteDatabase {
 public:
  // Opens (creating) the file; RegistryFailure(ERROR_CANTOPEN) when it cannot.
  explicit SqliteDatabase(const std::filesystem::path& file);
  ~SqliteDatabase();
  SqliteDatabase(const SqliteDatabase&) = delete;
  SqliteDatabase& operator=(const SqliteDatabase&) = delete;

  void Execute(std::string_view sql);
  sqlite3* Handle() { return db_; }
  // Throws RegistryFailure for a result code that is not OK, ROW or DONE.
  void Check(int code, std::string_view what);
  // Forgets the connection without closing it: for a child process that
  // inherited it through fork, where closing would touch the parent's locks.
  void Abandon() {
    db_ = nullptr;
    prepared_.clear();
  }

 private:
  friend class Statement;
  struct Prepared {
    sqlite3_stmt* stmt = nullptr;
    bool inUse = false;
  };
  // The cache entry of `sql`, marked in use; null while the cached statement
  // is in use by an enclosing statement of the same SQL, which leaves the
  // caller to prepare one of its own.
  Prepared* Borrow(std::string_view sql);
  sqlite3_stmt* Prepare(std::string_view sql, unsigned flags);

  struct SqlHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view sql) const { return std::hash<std::string_view>{}(sql); }
  };
  sqlite3* db_ = nullptr;
  // Preparing costs more than most of the statements it prepares run for.
  std::unordered_map<std::string, Prepared, SqlHash, std::equal_to<>> prepared_;
};

// One use of a prepared statement: the connection keeps the compiled
// statement for the next use of the same SQL, and this resets it when it goes.
class Statement {
 public:
  Statement(SqliteDatabase& db, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, std::int64_t value);
  Statement& BindBlob(int index, std::span<const std::uint8_t> bytes);
  Statement& BindText(int index, std::string_view text);  // stored as a blob: names are bytes
  // True while a row is available.
  bool Step();
  void Run();  // steps once, expecting no row

  std::int64_t Int(int column) const;
  std::string Text(int column) const;
  std::vector<std::uint8_t> Blob(int column) const;

 private:
  SqliteDatabase& db_;
  sqlite3_stmt* stmt_ = nullptr;
  // The connection's cache entry the statement is borrowed from; null for a
  // statement of this use alone, finalized when it goes.
  SqliteDatabase::Prepared* slot_ = nullptr;
};

// BEGIN on construction, ROLLBACK unless Commit was called.
class Transaction {
 public:
  enum class Kind { Read, Write };
  Transaction(SqliteDatabase& db, Kind kind);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  void Commit();

 private:
  SqliteDatabase& db_;
  bool open_ = true;
};

}  // namespace platform::registry_detail
