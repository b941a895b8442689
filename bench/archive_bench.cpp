// Archives and the -lh5- codec beside independent implementations, on the same
// data in one run:
//   (a) decoding a 20 MB mixed file: ours through the real CArchiveReader path
//       (counting read in 4096-byte segments, the archive checksum), against
//       bsdtar, lhasa and 7z decoding the same -lh5- stream in an LZH archive;
//   (b) compressing a mixed corpus: our encoder against jlha, packed size and
//       speed;
//   (c) peak memory of extracting a 100 MB file against a 1 MB file, each in a
//       child process of its own (its VmHWM).
// Peers are timed by the wall time of their process, with output to /dev/null;
// each is first run once into a file that is compared with the original.
// A peer that is not installed is reported as such. MB are 10^6 bytes.
//
//   bench_archive [--quick]    --quick: 4 MB and 10 MB instead of 20 MB and 100 MB

#include <sys/wait.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "install/archive/archive_checksum.h"
#include "install/archive/archive_reader.h"
#include "install/archive/archive_volume_reader.h"
#include "install/archive/archive_writer.h"
#include "install/codec/codec.h"
#include "platform/fs/path_map.h"
#include "platform/machine/machine.h"
#include "tests/common/temp_dir.h"
#include "tests/install/codec/lzh_container.h"
#include "tests/install/codec/peer_process.h"
#include "tests/install/codec/sample_data.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kMB = 1e6;
constexpr int kDecodeRuns = 3;

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// The best (shortest) of runs timings of work.
double BestOf(int runs, const std::function<void()>& work) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const Clock::time_point start = Clock::now();
    work();
    best = std::min(best, Seconds(start));
  }
  return best;
}

class StringSource : public CodecSource {
 public:
  explicit StringSource(const std::string& bytes) : bytes_(bytes) {}
  std::size_t Read(void* buffer, std::size_t count) override {
    const std::size_t n = std::min(count, bytes_.size() - at_);
    std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return n;
  }

 private:
  const std::string& bytes_;
  std::size_t at_ = 0;
};

class CountingSink : public CodecSink {
 public:
  void Write(const void*, std::size_t count) override { bytes_ += count; }
  uint64_t Bytes() const { return bytes_; }

 private:
  uint64_t bytes_ = 0;
};

// Keeps nothing: the reader's own checksum is all the extraction computes.
class DiscardSink : public CodecSink {
 public:
  void Write(const void*, std::size_t) override {}
};

std::string Windows(const fs::path& host) { return platform::MapToWindows(host); }

// A one-entry -lh5- archive of file made by our writer; returns the archive.
fs::path WriteArchiveOf(const fs::path& file, const fs::path& archive) {
  CArchiveWriter writer(Windows(archive), {kMethodLh5, 0});
  writer.Add(ArchiveMember(Windows(file)));
  writer.Finish();
  return archive;
}

// The compressed data of the first entry of a single-volume archive.
std::string FirstEntryData(const fs::path& archive) {
  CArchiveReader reader;
  reader.OpenArchive(Windows(archive));
  std::unique_ptr<CArchiveEntry> entry = reader.CreateEntry();
  if (!reader.NextEntry(*entry, false)) throw std::runtime_error("the archive holds no entry");
  const std::string bytes = qmtest::ReadFileText(archive);
  const std::size_t start = archive_layout::kArchiveHeaderSize + archive_layout::kEntryHeaderSize;
  return bytes.substr(start, entry->Header().CompressedSize());
}

// Decodes every entry through the archive reader into a sink or into files.
void ExtractArchive(const fs::path& archive, const fs::path* outputDirectory) {
  CVolumeArchiveReader reader;
  reader.OpenArchive(Windows(archive));
  std::unique_ptr<CArchiveEntry> entry = reader.CreateEntry();
  while (reader.NextEntry(*entry, false)) {
    if (outputDirectory != nullptr) {
      entry->SetOutputFileName(Windows(*outputDirectory / entry->GetFileName()));
      reader.Extract(*entry);
    } else {
      DiscardSink sink;
      reader.ExtractTo(*entry, sink);
    }
  }
}

// --- (a) decoding ------------------------------------------------------------

struct PeerTiming {
  std::string status;  // empty: measured
  double seconds = 0;
};

// Runs a peer once into a file to check its output, then times it into /dev/null.
PeerTiming TimePeer(const std::vector<std::string>& argv, const std::string& expected, const fs::path& scratch) {
  PeerTiming timing;
  if (qmtest::FindProgram(argv[0]).empty()) {
    timing.status = "not installed";
    return timing;
  }
  const qmtest::PeerResult check = qmtest::RunPeer(argv, scratch.string());
  const std::string output = qmtest::ReadFileText(scratch);
  fs::remove(scratch);
  if (!check.started || check.exitCode != 0) {
    timing.status = "refused the stream (exit " + std::to_string(check.exitCode) + ")";
    return timing;
  }
  if (output != expected) {
    timing.status = "wrong output";
    return timing;
  }
  timing.seconds = BestOf(kDecodeRuns, [&] { qmtest::RunPeer(argv, "/dev/null"); });
  return timing;
}

struct DecodeResult {
  double ours = 0;
  double bsdtar = 0;  // 0 when not measured
};

DecodeResult BenchDecode(const fs::path& work, std::size_t size) {
  std::printf("(a) Decoding a %.1f MB mixed file (best of %d runs, MB/s of output)\n\n", size / kMB, kDecodeRuns);
  const std::string original = qmtest::SampleMixed(size, 20);
  const fs::path file = work / "MIXED.BIN";
  qmtest::WriteFileText(file, original);
  const fs::path archive = WriteArchiveOf(file, work / "MIXED.ARC");
  const std::string stream = FirstEntryData(archive);
  const fs::path lzh = work / "mixed.lzh";
  qmtest::WriteFileText(lzh, qmtest::WrapInLzh(stream, original, "mixed.bin"));
  std::printf("    packed by our writer: %zu bytes (%.1f%%)\n\n", stream.size(), 100.0 * stream.size() / size);

  const fs::path out = work / "out";
  fs::create_directories(out);
  // Our reader, checked once against the original before it is timed.
  ExtractArchive(archive, &out);
  if (qmtest::ReadFileText(out / "MIXED.BIN") != original) throw std::runtime_error("our extraction differs");

  DecodeResult result;
  PeerTiming ours;
  ours.seconds = BestOf(kDecodeRuns, [&] { ExtractArchive(archive, nullptr); });
  result.ours = ours.seconds;
  std::printf("    %-44s %10s %10s %12s\n", "decoder", "seconds", "MB/s", "time / ours");
  const auto row = [&](const char* name, const PeerTiming& timing) {
    if (!timing.status.empty()) {
      std::printf("    %-44s %s\n", name, timing.status.c_str());
    } else {
      std::printf("    %-44s %10.3f %10.1f %11.2fx\n", name, timing.seconds, size / kMB / timing.seconds,
                  timing.seconds / ours.seconds);
    }
  };
  row("ours: CArchiveReader, checksum only", ours);
  PeerTiming oursFile;
  oursFile.seconds = BestOf(kDecodeRuns, [&] { ExtractArchive(archive, &out); });
  row("ours: CArchiveReader into a file", oursFile);

  const fs::path scratch = work / "peer.out";
  const PeerTiming bsdtar = TimePeer({"bsdtar", "-xOf", lzh.string()}, original, scratch);
  row("bsdtar -xOf (libarchive)", bsdtar);
  if (bsdtar.status.empty()) result.bsdtar = bsdtar.seconds;
  row("lhasa pq", TimePeer({"lhasa", "pq", lzh.string()}, original, scratch));
  row("7z x -so", TimePeer({"7z", "x", "-so", lzh.string()}, original, scratch));
  std::printf("\n");
  return result;
}

// --- (b) compression -----------------------------------------------------------

struct CompressResult {
  uint64_t original = 0;
  uint64_t ours = 0;
  double oursSeconds = 0;
  uint64_t jlha = 0;  // 0 when not measured
  double jlhaSeconds = 0;
  double jlhaStartSeconds = 0;  // jlha on a 1-byte file: the Java start-up
};

// jlha's time less its start-up, the fairer figure to hold our speed against.
double JlhaWorkSeconds(const CompressResult& result) {
  return std::max(result.jlhaSeconds - result.jlhaStartSeconds, 1e-3);
}

CompressResult BenchCompress(const fs::path& work, double scale) {
  const fs::path corpusDir = work / "corpus";
  fs::create_directories(corpusDir);
  const auto sized = [scale](double megabytes) { return static_cast<std::size_t>(megabytes * scale * 1024 * 1024); };
  std::string program = qmtest::ReadFileText("/proc/self/exe");
  program.resize(std::min(program.size(), sized(2)));
  const std::vector<std::pair<std::string, std::string>> corpus = {
      {"text.txt", qmtest::SampleText(sized(3), 31)},     {"source.c", qmtest::SampleSource(sized(1), 32)},
      {"records.bin", qmtest::SampleRecords(sized(2), 33)}, {"runs.bin", qmtest::SampleRuns(sized(1), 34)},
      {"random.bin", qmtest::SampleRandom(sized(1), 35)}, {"program.elf", program},
      {"mixed.bin", qmtest::SampleMixed(sized(4), 36)},
  };
  CompressResult result;
  std::vector<std::string> names;
  for (const auto& [name, bytes] : corpus) {
    qmtest::WriteFileText(corpusDir / name, bytes);
    names.push_back(name);
    result.original += bytes.size();
  }
  std::printf("(b) Compressing a corpus of %zu files, %.1f MB (text, program text, records, runs, random,\n"
              "    machine code, mixed)\n\n",
              corpus.size(), result.original / kMB);

  const Clock::time_point start = Clock::now();
  std::vector<uint64_t> ourSizes;
  for (const auto& [name, bytes] : corpus) {
    std::unique_ptr<CCodec> codec = CreateCodec(kMethodLh5, 0);
    StringSource source(bytes);
    CountingSink sink;
    codec->Encode(source, sink);
    ourSizes.push_back(sink.Bytes());
    result.ours += sink.Bytes();
  }
  result.oursSeconds = Seconds(start);

  std::vector<uint64_t> jlhaSizes(corpus.size(), 0);
  std::string jlhaStatus;
  if (qmtest::FindProgram("jlha").empty()) {
    jlhaStatus = "not installed";
  } else {
    std::vector<std::string> argv = {"jlha", "c", (work / "corpus.lzh").string()};
    argv.insert(argv.end(), names.begin(), names.end());
    const Clock::time_point jlhaStart = Clock::now();
    const qmtest::PeerResult run = qmtest::RunPeer(argv, "/dev/null", corpusDir.string());
    result.jlhaSeconds = Seconds(jlhaStart);
    qmtest::WriteFileText(work / "tiny.txt", "Q");
    const Clock::time_point tinyStart = Clock::now();
    qmtest::RunPeer({"jlha", "c", (work / "tiny.lzh").string(), "tiny.txt"}, "/dev/null", work.string());
    result.jlhaStartSeconds = Seconds(tinyStart);
    if (!run.started || run.exitCode != 0) {
      jlhaStatus = "failed (exit " + std::to_string(run.exitCode) + ")";
    } else {
      for (const qmtest::LzhEntry& entry : qmtest::ParseLzh(qmtest::ReadFileText(work / "corpus.lzh"))) {
        const auto it = std::find(names.begin(), names.end(), fs::path(entry.name).filename().string());
        if (it != names.end()) jlhaSizes[it - names.begin()] = entry.data.size();
        result.jlha += entry.data.size();
      }
    }
  }

  std::printf("    %-14s %12s %12s %8s %12s %8s\n", "file", "bytes", "ours", "ours %", "jlha", "jlha %");
  for (std::size_t i = 0; i < corpus.size(); ++i) {
    const double size = static_cast<double>(corpus[i].second.size());
    std::printf("    %-14s %12zu %12llu %7.1f%% %12llu %7.1f%%\n", corpus[i].first.c_str(), corpus[i].second.size(),
                static_cast<unsigned long long>(ourSizes[i]), 100.0 * ourSizes[i] / size,
                static_cast<unsigned long long>(jlhaSizes[i]), 100.0 * jlhaSizes[i] / size);
  }
  std::printf("    %-14s %12llu %12llu %7.1f%% %12llu %7.1f%%\n\n", "total",
              static_cast<unsigned long long>(result.original), static_cast<unsigned long long>(result.ours),
              100.0 * result.ours / result.original, static_cast<unsigned long long>(result.jlha),
              100.0 * result.jlha / result.original);
  std::printf("    %-44s %10s %10s %12s\n", "compressor", "seconds", "MB/s", "time / ours");
  const auto row = [&](const char* name, double seconds) {
    std::printf("    %-44s %10.3f %10.1f %11.2fx\n", name, seconds, result.original / kMB / seconds,
                seconds / result.oursSeconds);
  };
  row("ours: CLh5Codec::Encode, in memory", result.oursSeconds);
  if (jlhaStatus.empty()) {
    row("jlha c (one process, Java start included)", result.jlhaSeconds);
    std::printf("    %-44s %10.3f\n", "jlha c of a 1-byte file (the start alone)", result.jlhaStartSeconds);
    row("jlha c without its start", JlhaWorkSeconds(result));
    std::printf("    (jlha stores a file as -lh0- when -lh5- would not shrink it; its size counts as stored)\n");
  } else {
    std::printf("    %-44s %s\n", "jlha c", jlhaStatus.c_str());
    result.jlha = 0;
  }
  std::printf("\n");
  return result;
}

// --- (c) peak memory -------------------------------------------------------------

// The child's peak resident set (VmHWM), in KB. Not the parent's ru_maxrss of
// the child: exec keeps the high-water mark of the address space it replaces,
// and a child started with posix_spawn replaces the parent's.
long PeakResidentKb() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// The child's side: extract every entry of an archive into a directory, then
// write its peak resident set into reportPath.
int ExtractChild(const char* machineRoot, const char* archive, const char* outputDirectory, const char* reportPath) {
  platform::UseMachine(machineRoot);
  const fs::path out = outputDirectory;
  ExtractArchive(archive, &out);
  qmtest::WriteFileText(reportPath, std::to_string(PeakResidentKb()));
  return 0;
}

// Peak resident set of a child that extracts archive, in KB.
long ChildPeakKb(const fs::path& machineRoot, const fs::path& archive, const fs::path& outputDirectory) {
  const fs::path report = outputDirectory / "peak.txt";
  std::vector<std::string> argText = {"/proc/self/exe",    "--extract-child",         machineRoot.string(),
                                      archive.string(),    outputDirectory.string(), report.string()};
  std::vector<char*> argv;
  for (std::string& a : argText) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start the extraction child");
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("the extraction child failed");
  }
  return std::stol(qmtest::ReadFileText(report));
}

struct MemoryResult {
  long smallKb = 0;
  long largeKb = 0;
};

MemoryResult BenchMemory(const fs::path& work, std::size_t largeSize) {
  std::printf("(c) Peak memory of extracting one file, in a child process (VmHWM)\n\n");
  MemoryResult result;
  std::printf("    %-20s %12s %14s\n", "file", "bytes", "peak RSS KB");
  for (const std::size_t size : {std::size_t{1} << 20, largeSize}) {
    const fs::path dir = work / ("rss" + std::to_string(size));
    fs::create_directories(dir / "out");
    qmtest::WriteFileText(dir / "DATA.BIN", qmtest::SampleMixed(size, 40));
    const fs::path archive = WriteArchiveOf(dir / "DATA.BIN", dir / "DATA.ARC");
    fs::remove(dir / "DATA.BIN");
    const long kb = ChildPeakKb(platform::CurrentMachine().Root(), archive, dir / "out");
    if (fs::file_size(dir / "out" / "DATA.BIN") != size) throw std::runtime_error("the child extracted too little");
    (size == (std::size_t{1} << 20) ? result.smallKb : result.largeKb) = kb;
    std::printf("    %-20s %12zu %14ld\n", size == (std::size_t{1} << 20) ? "1 MB mixed" : "large mixed", size, kb);
    fs::remove_all(dir);
  }
  std::printf("\n");
  return result;
}

// --- the targets -------------------------------------------------------------------

void Verdict(const char* what, bool met, const std::string& detail) {
  std::printf("    %-52s %-7s %s\n", what, met ? "met" : "MISSED", detail.c_str());
}

std::string Format(const char* format, double a, double b = 0) {
  char text[160];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::strcmp(argv[1], "--extract-child") == 0) {
    try {
      return ExtractChild(argv[2], argv[3], argv[4], argv[5]);
    } catch (const std::exception& error) {
      std::fprintf(stderr, "bench_archive child: %s\n", error.what());
      return 1;
    }
  }
  const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
  try {
    const qmtest::TempDir root("qm-bench-archive");
    platform::UseMachine(root / "machine");
    const fs::path work = root / "work";
    fs::create_directories(work);

    const DecodeResult decode = BenchDecode(work, quick ? 4000000 : 20000000);
    const CompressResult compress = BenchCompress(work, quick ? 0.25 : 1.0);
    const MemoryResult memory = BenchMemory(work, quick ? 10000000 : 100000000);

    std::printf("Targets\n");
    if (decode.bsdtar > 0) {
      const double ratio = decode.bsdtar / decode.ours;
      Verdict("decode at least 3x bsdtar's speed", ratio >= 3.0, Format("%.2fx", ratio));
    } else {
      Verdict("decode at least 3x bsdtar's speed", false, "bsdtar not measured");
    }
    if (compress.jlha > 0) {
      Verdict("packed size smaller than jlha's", compress.ours < compress.jlha,
              Format("%.2f%% against %.2f%%", 100.0 * compress.ours / compress.original,
                     100.0 * compress.jlha / compress.original));
      const double ratio = JlhaWorkSeconds(compress) / compress.oursSeconds;
      Verdict("encode at least 5x jlha's speed (its start left out)", ratio >= 5.0, Format("%.1fx", ratio));
    } else {
      Verdict("packed size and speed against jlha", false, "jlha not measured");
    }
    // Equal up to page-level noise: the large file may not cost even 1 MB more.
    const long growth = memory.largeKb - memory.smallKb;
    Verdict("peak memory the same for 1 MB and the large file", growth < 1024,
            Format("%+.0f KB", static_cast<double>(growth)));
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_archive: %s\n", error.what());
    return 1;
  }
}
