#pragma once
// Turns the input into literals and matches for the block writer: hash chains
// over the last 8192 bytes find the longest match, and lazy matching lets a
// match wait one byte when the next position holds a longer one.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "install/lh5_block_writer.h"
#include "install/lh5_stream.h"

namespace lh5 {

class Parser {
 public:
  Parser();
  // Reads input to its end and hands every literal and match to blocks.
  void Run(Input& input, BlockWriter& blocks);

 private:
  static constexpr int kHashBits = 15;
  static constexpr std::size_t kBufferData = std::size_t{1} << 18;
  // History kept in front of the data when the buffer moves down, so matches
  // reach the full dictionary.
  static constexpr std::size_t kKeep = kDicSize;
  static constexpr std::size_t kBufferSize = kKeep + kBufferData + kMaxMatch;

  bool Refill(Input& input, std::size_t& pos);
  std::uint32_t Insert(std::size_t pos);
  unsigned LongestMatch(std::size_t pos, std::uint32_t candidate, unsigned limit, unsigned best,
                        std::size_t& matchPos) const;

  std::unique_ptr<std::uint8_t[]> buffer_;
  std::unique_ptr<std::int32_t[]> head_;
  std::unique_ptr<std::int32_t[]> prev_;
  std::size_t end_ = 0;    // bytes in the buffer
  bool inputDone_ = false;
};

}  // namespace lh5
