#pragma once
// Bytes that do not compress, the same for the same seed.

#include <cstddef>
#include <random>
#include <string>

namespace qmtest {

inline std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

}  // namespace qmtest
