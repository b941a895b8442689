#pragma once
// Bits out, most significant first, gathered in a 64-bit accumulator and
// handed to the output in large pieces.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "install/codec/lh5_stream.h"

namespace lh5 {

class BitWriter {
 public:
  explicit BitWriter(Output& output) : output_(output), buffer_(kBufferSize + 8) {}

  // The low n bits of value, n at most 32 (n = 0 puts nothing).
  void Put(unsigned n, std::uint32_t value) {
    const std::uint64_t bits = value & ((std::uint64_t{1} << n) - 1);
    accumulator_ |= (bits << (32 - n)) << (32 - used_);
    used_ += n;
    if (used_ >= 32) {
      const auto top = static_cast<std::uint32_t>(accumulator_ >> 32);
      std::uint8_t* p = buffer_.data() + fill_;
      p[0] = static_cast<std::uint8_t>(top >> 24);
      p[1] = static_cast<std::uint8_t>(top >> 16);
      p[2] = static_cast<std::uint8_t>(top >> 8);
      p[3] = static_cast<std::uint8_t>(top);
      fill_ += 4;
      accumulator_ <<= 32;
      used_ -= 32;
      if (fill_ >= kBufferSize) Drain();
    }
  }

  // Pads the last byte with zero bits and hands everything to the output.
  void Finish() {
    while (used_ > 0) {
      buffer_[fill_++] = static_cast<std::uint8_t>(accumulator_ >> 56);
      accumulator_ <<= 8;
      used_ = used_ > 8 ? used_ - 8 : 0;
    }
    Drain();
  }

 private:
  static constexpr std::size_t kBufferSize = 1 << 16;

  void Drain() {
    if (fill_ > 0) output_.WriteOutput(buffer_.data(), fill_);
    fill_ = 0;
  }

  Output& output_;
  std::vector<std::uint8_t> buffer_;
  std::size_t fill_ = 0;
  std::uint64_t accumulator_ = 0;
  unsigned used_ = 0;
};

}  // namespace lh5
