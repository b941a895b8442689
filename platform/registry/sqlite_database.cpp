// SQLite connection, statements and transactions for the registry.

#include "platform/registry/sqlite_database.h"

namespace platform::registry_detail {
RegStatus StatusOf(int code) {
  switch (code & 0xFF) {
    case SQLITE_CANTOPEN: return ERROR_CANTOPEN;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_SCHEMA: return ERROR_REGISTRY_CORRUPT;
    case SQLITE_TOOBIG:
    case SQLITE_RANGE:
    case SQLITE_MISMATCH: return ERROR_INVALID_PARAMETER;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_FULL:
    case SQLITE_READONLY:
    case SQLITE_IOERR:
    case SQLITE_PERM: return ERROR_CANTWRITE;
    default: return ERROR_CANTREAD;
  }
}

SqliteDatabase::SqliteDatabase(const std::filesystem::path& file) {
  const int code = sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
  if (code != SQLITE_OK) {
    const std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code);
    sqlite3_close(db_);
    db_ = nullptr;
    throw RegistryFailure(ERROR_CANTOPEN, "cannot open " + file.string() + ": " + message);
  }
  sqlite3_extended_result_codes(db_, 1);
}

SqliteDatabase::~SqliteDatabase() {
  for (auto& [sql, prepared] : prepared_) sqlite3_finalize(prepared.stmt);
  sqlite3_close_v2(db_);
}

SqliteDatabase::Prepared* SqliteDatabase::Borrow(std::string_view sql) {
  auto found = prepared_.find(sql);
  if (found == prepared_.end()) {
    found = prepared_.emplace(std::string(sql), Prepared{Prepare(sql, SQLITE_PREPARE_PERSISTENT)}).first;
  } else if (found->second.inUse) {
    return nullptr;
  }
  found->second.inUse = true;
  return &found->second;
}

sqlite3_stmt* SqliteDatabase::Prepare(std::string_view sql, unsigned flags) {
  sqlite3_stmt* stmt = nullptr;
  const int code = sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()), flags, &stmt, nullptr);
  if (code != SQLITE_OK) {
    sqlite3_finalize(stmt);
    Check(code, sql);
  }
  return stmt;
}

void SqliteDatabase::Check(int code, std::string_view what) {
  if (code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE) return;
  throw RegistryFailure(StatusOf(code), std::string(what) + ": " + sqlite3_errmsg(db_));
}

void SqliteDatabase::Execute(std::string_view sql) {
  const std::string text(sql);
  Check(sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr), text);
}

Statement::Statement(SqliteDatabase& db, std::string_view sql) : db_(db), slot_(db.Borrow(sql)) {
  stmt_ = slot_ != nullptr ? slot_->stmt : db.Prepare(sql, 0);
}

Statement::~Statement() {
  if (slot_ == nullptr) {
    sqlite3_finalize(stmt_);
    return;
  }
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
  slot_->inUse = false;
}

Statement& Statement::Bind(int index, std::int64_t value) {
  db_.Check(sqlite3_bind_int64(stmt_, index, value), "bind");
  return *this;
}

Statement& Statement::BindBlob(int index, std::span<const std::uint8_t> bytes) {
  // A zero-length blob is bound as such, never as NULL.
  db_.Check(sqlite3_bind_blob64(stmt_, index, bytes.empty() ? "" : static_cast<const void*>(bytes.data()),
                                bytes.size(), SQLITE_TRANSIENT),
            "bind");
  return *this;
}

Statement& Statement::BindText(int index, std::string_view text) {
  return BindBlob(index, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

bool Statement::Step() {
  const int code = sqlite3_step(stmt_);
  db_.Check(code, sqlite3_sql(stmt_));
  return code == SQLITE_ROW;
}

void Statement::Run() { Step(); }

std::int64_t Statement::Int(int column) const { return sqlite3_column_int64(stmt_, column); }

std::string Statement::Text(int column) const {
  const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
  return bytes == nullptr ? std::string() : std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)));
}

std::vector<std::uint8_t> Statement::Blob(int column) const {
  const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt_, column));
  if (bytes == nullptr) return {};
  return {bytes, bytes + sqlite3_column_bytes(stmt_, column)};
}

Transaction::Transaction(SqliteDatabase& db, Kind kind) : db_(db) {
  // A writer takes the write lock at once, so that it waits in the busy handler
  // instead of failing when a reader's snapshot turns out stale.
  Statement(db_, kind == Kind::Write ? "BEGIN IMMEDIATE" : "BEGIN DEFERRED").Run();
}

Transaction::~Transaction() {
  if (open_) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::Commit() {
  Statement(db_, "COMMIT").Run();
  open_ = false;
}

}  // namespace platform::registry_detail
