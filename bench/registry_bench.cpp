// The registry under load: 10,000 keys with one text value each created on a
// fresh machine (every call its own durable transaction, as the setup makes
// them), then the subtree exported as REGEDIT4 text the way "qmtool reg export"
// does it. Prints keys per second, the milliseconds of each phase and the size
// of the database. The machine lives beside this program and is removed again.
//
//   bench_registry [--quick]    --quick: 1,000 keys

#include <unistd.h>

#include <chrono>
#include <cstdio>
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

void Require(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(what);
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  const int keyCount = quick ? 1000 : 10000;
  const std::filesystem::path root = ProgramDirectory() / "registry-bench-machine";
  std::filesystem::remove_all(root);
  try {
    platform::UseMachine(root);
    constexpr std::string_view kBase = "Software\\Bench";

    const auto createStart = Clock::now();
    for (int i = 0; i < keyCount; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "\\Key%05d", i);
      platform::RegKey key = 0;
      Require(platform::RegCreateKeyEx(platform::HKEY_LOCAL_MACHINE, std::string(kBase) + name, "", 0,
                                       platform::KEY_ALL_ACCESS, nullptr, &key, nullptr) == platform::ERROR_SUCCESS,
              "create");
      const std::string data = "C:\\QM2\\file" + std::to_string(i) + ".dat";
      Require(platform::RegSetValueEx(key, "Path", platform::REG_SZ,
                                      {reinterpret_cast<const std::uint8_t*>(data.data()), data.size()}) ==
                  platform::ERROR_SUCCESS,
              "set");
      platform::RegCloseKey(key);
    }
    const double createMs = MillisecondsSince(createStart);

    const auto readStart = Clock::now();
    const qmtool::RegFile file = qmtool::ReadRegistry("HKEY_LOCAL_MACHINE\\" + std::string(kBase));
    const double readMs = MillisecondsSince(readStart);
    const auto writeStart = Clock::now();
    const std::string text = qmtool::WriteRegedit4(file);
    const double writeMs = MillisecondsSince(writeStart);
    Require(file.keys.size() == static_cast<std::size_t>(keyCount) + 1, "export lost keys");

    const std::uintmax_t dbBytes = SizeOr0(root / "registry.db");
    const std::uintmax_t walBytes = SizeOr0(root / "registry.db-wal");
    std::printf("registry: %d keys with one value each (WAL, synchronous=FULL, one transaction per call)\n",
                keyCount);
    std::printf("  create     %10.1f ms   %8.0f keys/s\n", createMs, keyCount / (createMs / 1000.0));
    std::printf("  export     %10.1f ms   %8.0f keys/s  (read %.1f ms, REGEDIT4 text %.1f ms, %zu bytes)\n",
                readMs + writeMs, keyCount / ((readMs + writeMs) / 1000.0), readMs, writeMs, text.size());
    std::printf("  database   %10ju bytes (+ %ju bytes of write-ahead log)\n", dbBytes, walBytes);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_registry: %s\n", e.what());
    std::filesystem::remove_all(root);
    return 1;
  }
  std::filesystem::remove_all(root);
  return 0;
}
