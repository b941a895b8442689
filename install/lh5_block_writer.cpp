#include "install/lh5_block_writer.h"

#include <algorithm>

namespace lh5 {

namespace {

// Cuts are tried at the eighths of a range; ranges shorter than this are sent
// whole, as a table costs a few hundred bits.
constexpr int kCutCandidates = 8;
constexpr std::size_t kMinBlockSymbols = 1024;

}  // namespace

BlockWriter::BlockWriter(Output& output)
    : bits_(output),
      symbols_(std::make_unique<std::uint16_t[]>(kGatherSymbols)),
      distances_(std::make_unique<std::uint16_t[]>(kGatherSymbols)),
      plan_(std::make_unique<BlockPlan>()),
      scratch_(std::make_unique<BlockPlan>()) {}

BlockWriter::~BlockWriter() = default;

void BlockWriter::Finish() {
  if (count_ > 0 || !sentAny_) SendGathered();
  bits_.Finish();
}

void BlockWriter::SendGathered() {
  if (count_ == 0) {
    SendBlock(0, 0);
  } else {
    SplitAndSend(0, count_);
  }
  count_ = 0;
}

void BlockWriter::Count(std::size_t begin, std::size_t end, BlockFrequencies& freq) const {
  for (std::size_t i = begin; i < end; ++i) {
    const unsigned symbol = symbols_[i];
    ++freq.c[symbol];
    if (symbol >= 256) ++freq.p[DistanceClass(distances_[i])];
  }
}

void BlockWriter::SplitAndSend(std::size_t begin, std::size_t end) {
  const std::size_t size = end - begin;
  if (size < 2 * kMinBlockSymbols) {
    SendBlock(begin, end);
    return;
  }
  // Frequencies of the eighths; the parts on either side of a cut are sums.
  BlockFrequencies parts[kCutCandidates];
  std::size_t bounds[kCutCandidates + 1];
  for (int k = 0; k <= kCutCandidates; ++k) bounds[k] = begin + size * static_cast<std::size_t>(k) / kCutCandidates;
  for (int k = 0; k < kCutCandidates; ++k) Count(bounds[k], bounds[k + 1], parts[k]);

  auto cost = [this](const BlockFrequencies& freq) {
    PlanBlock(freq, *scratch_, false);
    return scratch_->headerBits + scratch_->symbolBits;
  };
  BlockFrequencies prefix[kCutCandidates + 1];
  for (int k = 0; k < kCutCandidates; ++k) {
    prefix[k + 1] = prefix[k];
    prefix[k + 1].Add(parts[k]);
  }
  const std::uint64_t whole = cost(prefix[kCutCandidates]);
  std::uint64_t best = whole;
  int bestCut = 0;
  for (int k = 1; k < kCutCandidates; ++k) {
    BlockFrequencies right;
    for (int j = k; j < kCutCandidates; ++j) right.Add(parts[j]);
    const std::uint64_t split = cost(prefix[k]) + cost(right);
    if (split < best) {
      best = split;
      bestCut = k;
    }
  }
  if (bestCut == 0) {
    SendBlock(begin, end);
    return;
  }
  SplitAndSend(begin, bounds[bestCut]);
  SplitAndSend(bounds[bestCut], end);
}

void BlockWriter::SendBlock(std::size_t begin, std::size_t end) {
  sentAny_ = true;
  BlockFrequencies freq;
  Count(begin, end, freq);
  BlockPlan& plan = *plan_;
  PlanBlock(freq, plan, true);
  EmitTables(plan, static_cast<unsigned>(end - begin), bits_);
  for (std::size_t i = begin; i < end; ++i) {
    const unsigned symbol = symbols_[i];
    bits_.Put(plan.cLen[symbol], plan.cCode[symbol]);
    if (symbol < 256) continue;
    const unsigned distance = distances_[i];
    const unsigned slot = DistanceClass(distance);
    bits_.Put(plan.pLen[slot], plan.pCode[slot]);
    if (slot > 1) bits_.Put(slot - 1, distance & ((1u << (slot - 1)) - 1));
  }
}

}  // namespace lh5
