// The registry under load: 10,000 keys with one text value each created on a
// fresh machine (every call its own durable transaction, as the setup makes
// them), then the subtree exported as REGEDIT4 text the way "qmtool reg export"
// does it. Prints keys per second, the milliseconds of each phase and the size
// of the database. Beside each phase, its peer: SQLite alone, with the same
// journal and sync settings and the same tables, writing the same rows one
// transaction per call (and reading them back with one query), which is the
// floor under any registry kept this way. The machine lives beside this
// program and is removed again.
//
//   bench_registry [--quick]    --quick: 1,000 keys

#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/machine/machine.h"
#include "platform/registry/registry.h"
#include "tools/qmtool/regedit4.h"
#include "tools/qmtool/registry_transfer.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::filesystem::path ProgramDirectory() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

std::uintmax_t SizeOr0(const std::filesystem::path& file) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  return ec ? 0 : size;
}

constexpr int kTurn = 100;

std::string DataOf(int i) { return "C:\\QM2\\file" + std::to_string(i) + ".dat"; }

void Require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

// The peer: SQLite through its own interface and nothing else.
class BareSqlite {
 public:
  explicit BareSqlite(const std::filesystem::path& file) {
    Require(sqlite3_open(file.c_str(), &db_) == SQLITE_OK, "sqlite3_open");
    Execute("PRAGMA journal_mode=WAL");
    Execute("PRAGMA synchronous=FULL");
    Execute(
        "CREATE TABLE keys(id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER REFERENCES keys(id),"
        " name BLOB NOT NULL, name_fold BLOB NOT NULL, class BLOB NOT NULL DEFAULT x'',"
        " options INTEGER NOT NULL DEFAULT 0, UNIQUE(parent, name_fold));"
        "CREATE TABLE key_values(key INTEGER NOT NULL REFERENCES keys(id), name BLOB NOT NULL,"
        " name_fold BLOB NOT NULL, type INTEGER NOT NULL, data BLOB NOT NULL, UNIQUE(key, name_fold));"
        "INSERT INTO keys(id, parent, name, name_fold) VALUES(1, NULL, 'Bench', 'BENCH');");
  }
  ~BareSqlite() { sqlite3_close(db_); }
  BareSqlite(const BareSqlite&) = delete;
  BareSqlite& operator=(const BareSqlite&) = delete;

  // A key under the base and its value, each in a transaction of its own.
  void AddKey(const std::string& name, const std::string& data) {
    Execute("BEGIN IMMEDIATE");
    Run("INSERT INTO keys(parent, name, name_fold) VALUES(1, ?1, upper(?1))", {name});
    const std::string key = std::to_string(sqlite3_last_insert_rowid(db_));
    Execute("COMMIT");
    Execute("BEGIN IMMEDIATE");
    Run("INSERT INTO key_values(key, name, name_fold, type, data) VALUES(" + key + ", 'Path', 'PATH', 1, ?1)",
        {data});
    Execute("COMMIT");
  }

  // Every key and value under the base in one query: the bytes read.
  std::size_t ReadAll() {
    sqlite3_stmt* query = Prepare(
        "SELECT k.name, v.name, v.type, v.data FROM keys k LEFT JOIN key_values v ON v.key = k.id"
        " WHERE k.parent = 1 ORDER BY k.name_fold");
    std::size_t bytes = 0;
    while (sqlite3_step(query) == SQLITE_ROW) {
      for (int column : {0, 1, 3}) bytes += static_cast<std::size_t>(sqlite3_column_bytes(query, column));
    }
    sqlite3_finalize(query);
    return bytes;
  }

 private:
  void Execute(const std::string& sql) {
    Require(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK, "sqlite3_exec");
  }
  sqlite3_stmt* Prepare(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    Require(sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK, "sqlite3_prepare_v2");
    return statement;
  }
  void Run(const std::string& sql, std::initializer_list<std::string> texts) {
    sqlite3_stmt* statement = Prepare(sql);
    int index = 0;
    for (const std::string& text : texts) {
      sqlite3_bind_blob(statement, ++index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    const int code = sqlite3_step(statement);
    sqlite3_finalize(statement);
    Require(code == SQLITE_DONE, "sqlite3_step");
  }

  sqlite3* db_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  const int keyCount = quick ? 1000 : 10000;
  const std::filesystem::path root = ProgramDirectory() / "registry-bench-machine";
  std::filesystem::remove_all(root);
  try {
    platform::UseMachine(root);
    constexpr std::string_view kBase = "Software\\Bench";

    // Every commit waits for the disk: ours and the peer take turns, a
    // hundred keys each, so that a change in the disk's load falls on both.
    BareSqlite peer(root / "bare.db");
    double createMs = 0;
    double peerCreateMs = 0;
    for (int first = 0; first < keyCount; first += kTurn) {
      const int last = std::min(keyCount, first + kTurn);
      const auto createStart = Clock::now();
      for (int i = first; i < last; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "\\Key%05d", i);
        platform::RegKey key = 0;
        Require(platform::RegCreateKeyEx(platform::HKEY_LOCAL_MACHINE, std::string(kBase) + name, "", 0,
                                         platform::KEY_ALL_ACCESS, nullptr, &key,
                                         nullptr) == platform::ERROR_SUCCESS,
                "create");
        const std::string data = DataOf(i);
        Require(platform::RegSetValueEx(key, "Path", platform::REG_SZ,
                                        {reinterpret_cast<const std::uint8_t*>(data.data()), data.size()}) ==
                    platform::ERROR_SUCCESS,
                "set");
        platform::RegCloseKey(key);
      }
      createMs += MillisecondsSince(createStart);
      const auto peerCreateStart = Clock::now();
      for (int i = first; i < last; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Key%05d", i);
        peer.AddKey(name, DataOf(i));
      }
      peerCreateMs += MillisecondsSince(peerCreateStart);
    }

    const auto readStart = Clock::now();
    const qmtool::RegFile file = qmtool::ReadRegistry("HKEY_LOCAL_MACHINE\\" + std::string(kBase));
    const double readMs = MillisecondsSince(readStart);
    const auto writeStart = Clock::now();
    const std::string text = qmtool::WriteRegedit4(file);
    const double writeMs = MillisecondsSince(writeStart);
    Require(file.keys.size() == static_cast<std::size_t>(keyCount) + 1, "export lost keys");

    const std::uintmax_t dbBytes = SizeOr0(root / "registry.db");
    const std::uintmax_t walBytes = SizeOr0(root / "registry.db-wal");

    const auto peerReadStart = Clock::now();
    Require(peer.ReadAll() > 0, "the peer read nothing");
    const double peerReadMs = MillisecondsSince(peerReadStart);

    std::printf("registry: %d keys with one value each (WAL, synchronous=FULL, one transaction per call)\n\n",
                keyCount);
    std::printf("  %-28s %10s %10s %16s %16s\n", "phase", "ours ms", "keys/s", "SQLite alone ms", "time / SQLite's");
    const auto row = [keyCount](const char* phase, double ours, double alone) {
      std::printf("  %-28s %10.1f %10.0f", phase, ours, keyCount / (ours / 1000.0));
      if (alone > 0) {
        std::printf(" %16.1f %15.2fx\n", alone, ours / alone);
      } else {
        std::printf(" %16s %16s\n", "-", "-");
      }
    };
    row("create key, set value", createMs, peerCreateMs);
    row("export: read the subtree", readMs, peerReadMs);
    row("export: REGEDIT4 text", writeMs, 0);
    std::printf("\n  export: %zu bytes of text; database %ju bytes (+ %ju bytes of write-ahead log)\n", text.size(),
                dbBytes, walBytes);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_registry: %s\n", e.what());
    std::filesystem::remove_all(root);
    return 1;
  }
  std::filesystem::remove_all(root);
  return 0;
}
