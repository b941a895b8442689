#pragma once
// Turns the input into literals and matches for the block writer: hash chains
// over the last 8192 bytes find the longest match, and lazy matching lets a
// match wait one byte when the next position holds a longer one.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "install/codec/lh5_block_writer.h"
#include "install/codec/lh5_stream.h"

namespace lh5 {

class Parser {
 public:
  Parser();
  // Reads input to its end and hands every literal and match to blocks.
  void Run(Input& input, BlockWriter& blocks);

 private:
  static constexpr int kHashBits = 15;
  static constexpr int kHash3Bits = 12;
  static constexpr std::size_t kBufferData = std::size_t{1} << 18;
  // History kept in front of the data when the buffer moves down, so matches
  // reach the full dictionary.
  static constexpr std::size_t kKeep = kDicSize;
  static constexpr std::size_t kBufferSize = kKeep + kBufferData + kMaxMatch;

  bool Refill(Input& input, std::size_t& pos);
  struct Candidates {
    std::int32_t chain;  // newest earlier position with the same 4-byte hash
    std::int32_t near3;  // newest earlier position with the same 3-byte hash
  };
  Candidates Insert(std::size_t pos);
  unsigned LongestMatch(std::size_t pos, Candidates candidates, unsigned limit, unsigned best,
                        std::size_t& matchPos) const;

  std::unique_ptr<std::uint8_t[]> buffer_;
  std::unique_ptr<std::int32_t[]> head_;   // newest position of each 4-byte hash, chained through prev_
  std::unique_ptr<std::int32_t[]> prev_;
  std::unique_ptr<std::int32_t[]> head3_;  // newest position of each 3-byte hash: the nearest 3-byte match
  std::size_t end_ = 0;    // bytes in the buffer
  bool inputDone_ = false;
};

}  // namespace lh5
