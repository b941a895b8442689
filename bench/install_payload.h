#pragma once
// The install benchmark's product: many small text-like files spread over
// directories D01, D02, ... and one large, partly compressible file, all
// made from a fixed seed so every run installs the same bytes. Files are
// written in fixed-size pieces; nothing large is held in memory, which keeps
// the benchmark process small (its children's peak memory starts from it).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace install_bench {

struct PayloadShape {
  int smallFiles = 10000;
  int directories = 20;
  uint32_t smallMin = 100;   // bytes
  uint32_t smallMax = 8192;  // bytes
  uint64_t bigBytes = 200000000;
};

struct PayloadFile {
  std::string relative;  // "D01/F00001.TXT", with '/'
  int directory = 0;     // 1.. for the small files, 0 for the large one
  uint64_t bytes = 0;
};

struct Payload {
  std::vector<PayloadFile> files;  // small files first, the large one last
  uint64_t totalBytes = 0;
};

// Splitmix64: fast, and the same sequence on every machine.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t Below(uint32_t bound) { return static_cast<uint32_t>(Next() % bound); }

 private:
  uint64_t state_;
};

// Appends count bytes of text: words, spaces and CRLF line ends.
void AppendText(Random& random, std::string& out, std::size_t count);

// Writes the small files under directory (D01..Dnn) and records them.
Payload WriteSmallFiles(const std::filesystem::path& directory, const PayloadShape& shape);

// Writes the large file of bigBytes at path, seeded by seed: 64 KiB blocks,
// half of them text, a quarter random bytes, a quarter fixed-width records.
void WriteBigFile(const std::filesystem::path& path, uint64_t bigBytes, uint64_t seed);

// "Dnn" for directory number n.
std::string DirectoryName(int n);

}  // namespace install_bench
