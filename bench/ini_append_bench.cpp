// What one install-log line costs: N new keys written into the last section of
// a fresh file, through WritePrivateProfileString (cached, appended) and the
// way a whole-file writer does it (the full text to a temporary file and a
// rename on every write, with and without reading the file again first).
// I/O is counted from /proc/self/io: rchar and wchar are the bytes this process
// passed to read() and write(), whether or not they reached the disk.
//
//   bench_ini_append [--quick]    --quick: 1,000 keys only (10,000 as well without it)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/fs/path_map.h"
#include "platform/machine/machine.h"
#include "platform/profile/ini_document.h"
#include "platform/profile/private_profile.h"
#include "tests/common/temp_dir.h"

namespace {

struct IoCounters {
  unsigned long long readBytes = 0;
  unsigned long long writtenBytes = 0;
};

IoCounters ReadIoCounters() {
  std::ifstream in("/proc/self/io");
  IoCounters counters;
  std::string name;
  unsigned long long value = 0;
  while (in >> name >> value) {
    if (name == "rchar:") counters.readBytes = value;
    if (name == "wchar:") counters.writtenBytes = value;
  }
  return counters;
}

std::string KeyOf(int i) {
  char key[32];
  std::snprintf(key, sizeof key, "file%04d.dll", i);
  return key;
}

std::string ValueOf(int i) { return std::to_string(i % 3) + "|1|0"; }

void WriteWhole(const std::filesystem::path& file, const std::string& text) {
  const std::filesystem::path temp = file.string() + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) throw std::runtime_error("cannot write " + temp.string());
  }
  std::filesystem::rename(temp, file);
}

struct Result {
  double millis = 0;
  double writtenPerWrite = 0;
  double readPerWrite = 0;
  std::string text;  // the file as the run left it
};

Result Measure(int keys, const std::filesystem::path& file, const std::function<void(int)>& writeKey) {
  std::filesystem::remove(file);
  const IoCounters before = ReadIoCounters();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < keys; ++i) writeKey(i);
  const auto end = std::chrono::steady_clock::now();
  const IoCounters after = ReadIoCounters();
  Result result;
  result.millis = std::chrono::duration<double, std::milli>(end - start).count();
  result.writtenPerWrite = double(after.writtenBytes - before.writtenBytes) / keys;
  result.readPerWrite = double(after.readBytes - before.readBytes) / keys;
  result.text = qmtest::ReadFileText(file);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  try {
    const qmtest::TempDir root("qm-bench");
    platform::UseMachine(root.Path());
    std::filesystem::path windowsDir;
    if (!platform::MapToHost("C:\\WINDOWS", windowsDir)) throw std::runtime_error("no Windows directory");
    const std::filesystem::path logFile = windowsDir / "Bench.log";
    const std::filesystem::path naiveFile = windowsDir / "Naive.log";

    std::printf("New keys into the last section of a fresh file, one write per key\n\n");
    std::printf("%6s  %-36s %11s %12s %14s %14s\n", "keys", "method", "total ms", "time / ours", "written/write",
                "read/write");
    bool identical = true;
    for (const int keys : quick ? std::vector<int>{1000} : std::vector<int>{1000, 10000}) {
      const Result ours = Measure(keys, logFile, [](int i) {
        if (!platform::WritePrivateProfileString("Group", KeyOf(i).c_str(), ValueOf(i).c_str(), "Bench.log")) {
          throw std::runtime_error("WritePrivateProfileString failed");
        }
      });
      platform::IniDocument kept;
      const Result rewrite = Measure(keys, naiveFile, [&](int i) {
        if (i == 0) kept = platform::IniDocument();
        kept.Set("Group", KeyOf(i), ValueOf(i));
        WriteWhole(naiveFile, kept.Text());
      });
      const Result reread = Measure(keys, naiveFile, [&](int i) {
        platform::IniDocument document(i == 0 ? std::string() : qmtest::ReadFileText(naiveFile));
        document.Set("Group", KeyOf(i), ValueOf(i));
        WriteWhole(naiveFile, document.Text());
      });
      identical = identical && ours.text == rewrite.text && ours.text == reread.text;
      const auto row = [keys, &ours](const char* method, const Result& r) {
        std::printf("%6d  %-36s %11.1f %11.2fx %14.1f %14.1f\n", keys, method, r.millis, r.millis / ours.millis,
                    r.writtenPerWrite, r.readPerWrite);
      };
      row("WritePrivateProfileString (append)", ours);
      row("rewrite whole file + rename", rewrite);
      row("read, rewrite whole file + rename", reread);
    }
    std::printf("\nbytes are those passed to read() and write() (/proc/self/io rchar, wchar)\n");
    std::printf("all methods wrote the same file: %s\n", identical ? "yes" : "NO");
    return identical ? 0 : 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_ini_append: %s\n", error.what());
    return 1;
  }
}
