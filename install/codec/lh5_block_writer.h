#pragma once
// Collects literals and matches and sends them as blocks: each block carries
// its symbol count, its three code tables and the coded symbols. The symbols
// are gathered in segments with their frequencies; the blocks are then cut at
// the segment ends where separate tables pay for themselves.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "install/codec/lh5_bit_writer.h"
#include "install/codec/lh5_block_plan.h"
#include "install/codec/lh5_format.h"

namespace lh5 {

class BlockWriter {
 public:
  static constexpr std::size_t kSegmentSymbols = 1024;
  static constexpr std::size_t kSegments = 63;
  static constexpr std::size_t kGatherSymbols = kSegmentSymbols * kSegments;
  // Longest block, in segments. Longer blocks rarely pay: the tables are a
  // small part of a block this size, and the statistics drift.
  static constexpr std::size_t kBlockSegments = 16;

  explicit BlockWriter(Output& output);
  ~BlockWriter();

  void AddLiteral(std::uint8_t byte) {
    symbols_[count_] = byte;
    ++segment_->c[byte];
    if (++count_ % kSegmentSymbols == 0) NextSegment();
  }

  // A match of length 3..256 whose source lies distance + 1 bytes back.
  void AddMatch(unsigned length, unsigned distance) {
    const auto symbol = static_cast<std::uint16_t>(LengthSymbol(static_cast<int>(length)));
    symbols_[count_] = symbol;
    distances_[count_] = static_cast<std::uint16_t>(distance);
    ++segment_->c[symbol];
    ++segment_->p[DistanceClass(distance)];
    if (++count_ % kSegmentSymbols == 0) NextSegment();
  }

  // Sends what is left and pads the last byte with zero bits. Nothing at all
  // gives an empty stream: a block of zero symbols is refused by some decoders
  // (and a count of 0 means 65536 to the others).
  void Finish();

 private:
  void NextSegment();
  // Where the gathered segments are cut into blocks: the first segment of
  // every block, then the number of segments.
  std::vector<std::size_t> ChooseCuts(std::size_t segments) const;
  void SendGathered();
  void SendBlock(std::size_t begin, std::size_t end, const BlockFrequencies& freq);

  BitWriter bits_;
  std::unique_ptr<std::uint16_t[]> symbols_;
  std::unique_ptr<std::uint16_t[]> distances_;
  std::unique_ptr<BlockFrequencies[]> segments_;
  BlockFrequencies* segment_;  // the one being filled
  std::size_t count_ = 0;
  std::unique_ptr<BlockPlan> plan_;
};

}  // namespace lh5
