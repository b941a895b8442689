#pragma once
// Collects literals and matches and sends them as blocks: each block carries
// its symbol count, its three code tables and the coded symbols. Where to cut
// blocks is decided on the collected symbols: a cut is made where two blocks
// with their own tables cost fewer bits than one.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "install/lh5_bit_writer.h"
#include "install/lh5_block_plan.h"
#include "install/lh5_format.h"

namespace lh5 {

class BlockWriter {
 public:
  // Symbols collected before blocks are cut; a block has at most this many
  // (its count field has 16 bits).
  static constexpr std::size_t kGatherSymbols = 65535;

  explicit BlockWriter(Output& output);
  ~BlockWriter();

  void AddLiteral(std::uint8_t byte) {
    symbols_[count_++] = byte;
    if (count_ == kGatherSymbols) SendGathered();
  }

  // A match of length 3..256 whose source lies distance + 1 bytes back.
  void AddMatch(unsigned length, unsigned distance) {
    symbols_[count_] = static_cast<std::uint16_t>(LengthSymbol(static_cast<int>(length)));
    distances_[count_++] = static_cast<std::uint16_t>(distance);
    if (count_ == kGatherSymbols) SendGathered();
  }

  // Sends what is left (an empty stream still gets one empty block) and pads
  // the last byte with zero bits.
  void Finish();

 private:
  void SendGathered();
  void SplitAndSend(std::size_t begin, std::size_t end);
  void Count(std::size_t begin, std::size_t end, BlockFrequencies& freq) const;
  void SendBlock(std::size_t begin, std::size_t end);

  BitWriter bits_;
  std::unique_ptr<std::uint16_t[]> symbols_;
  std::unique_ptr<std::uint16_t[]> distances_;
  std::size_t count_ = 0;
  bool sentAny_ = false;
  std::unique_ptr<BlockPlan> plan_;
  std::unique_ptr<BlockPlan> scratch_;
};

}  // namespace lh5
