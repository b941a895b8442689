#pragma once
// Deterministic sample files for the codec's interoperability tests and the
// archive benchmarks: text, program-like text, binary records, runs, random
// bytes, and a mix of them all. The same seed gives the same bytes on every
// machine (a fixed xorshift generator, no library distributions).

#include <cstddef>
#include <cstdint>
#include <string>

namespace qmtest {

class SampleRng {
 public:
  explicit SampleRng(std::uint64_t seed) : state_(seed != 0 ? seed : 1) {}
  std::uint64_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return state_;
  }
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }

 private:
  std::uint64_t state_;
};

std::string SampleText(std::size_t size, std::uint64_t seed);     // sentences from a small vocabulary
std::string SampleSource(std::size_t size, std::uint64_t seed);   // C-like program text
std::string SampleRecords(std::size_t size, std::uint64_t seed);  // fixed-size little-endian records
std::string SampleRuns(std::size_t size, std::uint64_t seed);     // runs of equal bytes, up to 700 long
std::string SampleRandom(std::size_t size, std::uint64_t seed);   // incompressible
// Pieces of 2 to 64 KB of the kinds above (text weighing most, a tenth random).
std::string SampleMixed(std::size_t size, std::uint64_t seed);

}  // namespace qmtest
