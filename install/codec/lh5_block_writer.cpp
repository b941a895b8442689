#include "install/codec/lh5_block_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>
#include <vector>

namespace lh5 {

namespace {

// f * log2(f) in fixed point (1/4096 bit), for every count a block can hold.
class EntropyTable {
 public:
  static constexpr std::uint32_t kSize = BlockWriter::kBlockSegments * BlockWriter::kSegmentSymbols + 1;
  static constexpr double kOne = 4096.0;
  EntropyTable() : table_(kSize) {
    for (std::uint32_t f = 1; f < kSize; ++f) table_[f] = static_cast<std::uint32_t>(f * std::log2(f) * kOne);
  }
  std::uint32_t operator()(std::uint32_t f) const { return table_[f]; }

 private:
  std::vector<std::uint32_t> table_;
};

const EntropyTable& FLog2() {
  static const EntropyTable table;
  return table;
}

// The estimated size of a block that grows by whole segments, in 1/4096 bit:
// the symbols at their entropy (Huffman codes come close to it), and for the
// tables about four bits per literal/length symbol in use.
class GrowingBlockEstimate {
 public:
  struct Count {
    std::uint16_t symbol;
    std::uint16_t count;
  };

  void Reset() {
    c_.Reset();
    p_.Reset();
  }

  void Add(const Count* c, const Count* cEnd, const Count* p, const Count* pEnd) {
    c_.Add(c, cEnd);
    p_.Add(p, pEnd);
  }

  std::int64_t Bits() const {
    constexpr std::int64_t kBit = static_cast<std::int64_t>(EntropyTable::kOne);
    std::int64_t bits = 16 * kBit;
    bits += c_.used < 2 ? 28 * kBit : c_.Entropy() + 80 * kBit + 4 * kBit * c_.used;
    bits += p_.used < 2 ? 8 * kBit : p_.Entropy() + 8 * kBit + 7 * kBit / 2 * p_.used;
    return bits;
  }

 private:
  template <int N>
  struct Table {
    std::uint32_t counts[N];
    std::uint32_t total;
    int used;
    std::int64_t flog2Sum;

    void Reset() {
      std::fill(std::begin(counts), std::end(counts), 0u);
      total = 0;
      used = 0;
      flog2Sum = 0;
    }
    void Add(const Count* begin, const Count* end) {
      const EntropyTable& flog2 = FLog2();
      for (const Count* c = begin; c != end; ++c) {
        std::uint32_t& n = counts[c->symbol];
        used += n == 0;
        flog2Sum += static_cast<std::int64_t>(flog2(n + c->count)) - flog2(n);
        total += c->count;
        n += c->count;
      }
    }
    std::int64_t Entropy() const { return static_cast<std::int64_t>(FLog2()(total)) - flog2Sum; }
  };

  Table<kNC> c_;
  Table<kNP> p_;
};

}  // namespace

BlockWriter::BlockWriter(Output& output)
    : bits_(output),
      symbols_(std::make_unique<std::uint16_t[]>(kGatherSymbols)),
      distances_(std::make_unique<std::uint16_t[]>(kGatherSymbols)),
      segments_(std::make_unique<BlockFrequencies[]>(kSegments)),
      segment_(&segments_[0]),
      plan_(std::make_unique<BlockPlan>()) {}

BlockWriter::~BlockWriter() = default;

void BlockWriter::NextSegment() {
  if (count_ == kGatherSymbols) {
    SendGathered();
  } else {
    ++segment_;
  }
}

void BlockWriter::Finish() {
  if (count_ > 0) SendGathered();
  bits_.Finish();
}

std::vector<std::size_t> BlockWriter::ChooseCuts(std::size_t segments) const {
  // The symbols in use of every segment, as the estimate adds them up.
  std::vector<GrowingBlockEstimate::Count> cCounts;
  std::vector<GrowingBlockEstimate::Count> pCounts;
  std::array<std::size_t, kSegments + 1> cStart{};
  std::array<std::size_t, kSegments + 1> pStart{};
  for (std::size_t s = 0; s < segments; ++s) {
    cStart[s] = cCounts.size();
    pStart[s] = pCounts.size();
    for (int i = 0; i < kNC; ++i) {
      if (segments_[s].c[i] != 0)
        cCounts.push_back({static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(segments_[s].c[i])});
    }
    for (int i = 0; i < kNP; ++i) {
      if (segments_[s].p[i] != 0)
        pCounts.push_back({static_cast<std::uint16_t>(i), static_cast<std::uint16_t>(segments_[s].p[i])});
    }
  }
  cStart[segments] = cCounts.size();
  pStart[segments] = pCounts.size();

  // best[j] is the cheapest way to send the first j segments, and its last
  // block begins at segment cut[j].
  std::array<std::int64_t, kSegments + 1> best{};
  std::array<std::size_t, kSegments + 1> cut{};
  std::fill(best.begin() + 1, best.end(), std::numeric_limits<std::int64_t>::max());
  auto estimate = std::make_unique<GrowingBlockEstimate>();
  for (std::size_t i = 0; i < segments; ++i) {
    estimate->Reset();
    for (std::size_t j = i + 1; j <= std::min(segments, i + kBlockSegments); ++j) {
      estimate->Add(cCounts.data() + cStart[j - 1], cCounts.data() + cStart[j], pCounts.data() + pStart[j - 1],
                    pCounts.data() + pStart[j]);
      const std::int64_t bits = best[i] + estimate->Bits();
      if (bits < best[j]) {
        best[j] = bits;
        cut[j] = i;
      }
    }
  }
  std::vector<std::size_t> cuts;
  for (std::size_t j = segments; j > 0; j = cut[j]) cuts.push_back(cut[j]);
  std::reverse(cuts.begin(), cuts.end());
  cuts.push_back(segments);
  return cuts;
}

void BlockWriter::SendGathered() {
  const std::size_t segments = (count_ + kSegmentSymbols - 1) / kSegmentSymbols;
  const std::vector<std::size_t> cuts = ChooseCuts(segments);
  auto freq = std::make_unique<BlockFrequencies>();
  for (std::size_t b = 0; b + 1 < cuts.size(); ++b) {
    *freq = BlockFrequencies{};
    for (std::size_t s = cuts[b]; s < cuts[b + 1]; ++s) freq->Add(segments_[s]);
    SendBlock(cuts[b] * kSegmentSymbols, std::min(cuts[b + 1] * kSegmentSymbols, count_), *freq);
  }
  count_ = 0;
  for (std::size_t s = 0; s < kSegments; ++s) segments_[s] = BlockFrequencies{};
  segment_ = &segments_[0];
}

void BlockWriter::SendBlock(std::size_t begin, std::size_t end, const BlockFrequencies& freq) {
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
