#include "install/codec/lh5_block_plan.h"

#include <algorithm>
#include <iterator>

#include "install/codec/lh5_huffman_code.h"

namespace lh5 {

namespace {

// The only symbol in use, or -1 when two or more are; 0 when none is.
int SingleSymbol(const std::uint32_t* freq, int n) {
  int found = -1;
  for (int i = 0; i < n; ++i) {
    if (freq[i] == 0) continue;
    if (found >= 0) return -1;
    found = i;
  }
  return found < 0 ? 0 : found;
}

// Lengths (and codes) of one table; a single symbol leaves all lengths 0.
int PlanTable(const std::uint32_t* freq, int n, std::uint8_t* lengths, std::uint16_t* codes, bool makeCodes) {
  const int single = SingleSymbol(freq, n);
  if (single >= 0) {
    std::fill(lengths, lengths + n, std::uint8_t{0});
    std::fill(codes, codes + n, std::uint16_t{0});
    return single;
  }
  BuildCodeLengths(freq, n, kMaxCodeLength, lengths);
  if (makeCodes) MakeCodes(lengths, n, codes);
  return -1;
}

}  // namespace

void PlanBlock(const BlockFrequencies& freq, BlockPlan& plan, bool codes) {
  plan.cSingle = PlanTable(freq.c, kNC, plan.cLen, plan.cCode, codes);
  plan.tSingle = -1;
  if (plan.cSingle < 0) {
    std::uint32_t tFreq[kNT] = {};
    detail::ForEachCodeLengthSymbol(plan.cLen, [&](int t, unsigned, unsigned) { ++tFreq[t]; });
    plan.tSingle = PlanTable(tFreq, kNT, plan.tLen, plan.tCode, codes);
  } else {
    std::fill(std::begin(plan.tLen), std::end(plan.tLen), std::uint8_t{0});
  }
  plan.pSingle = PlanTable(freq.p, kNP, plan.pLen, plan.pCode, codes);

  BitCounter header;
  EmitTables(plan, 0, header);
  plan.headerBits = header.bits;
  std::uint64_t symbolBits = 0;
  for (int i = 0; i < kNC; ++i) symbolBits += std::uint64_t{freq.c[i]} * plan.cLen[i];
  for (int j = 0; j < kNP; ++j) symbolBits += std::uint64_t{freq.p[j]} * (plan.pLen[j] + (j > 1 ? j - 1 : 0));
  plan.symbolBits = symbolBits;
}

}  // namespace lh5
