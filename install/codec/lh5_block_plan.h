#pragma once
// The code tables of one block, worked out from its symbol frequencies: their
// lengths and codes, and the exact number of bits the block will take, so that
// the block writer can compare ways of cutting the data into blocks.

#include <cstdint>

#include "install/codec/lh5_format.h"

namespace lh5 {

struct BlockFrequencies {
  std::uint32_t c[kNC] = {};  // literal/length symbols
  std::uint32_t p[kNP] = {};  // distance classes

  void Add(const BlockFrequencies& other) {
    for (int i = 0; i < kNC; ++i) c[i] += other.c[i];
    for (int i = 0; i < kNP; ++i) p[i] += other.p[i];
  }
};

struct BlockPlan {
  // A table with a single symbol in use is sent as that constant (-1: a full
  // table is sent); its symbols then take no bits.
  int cSingle = -1;
  int tSingle = -1;
  int pSingle = -1;
  std::uint8_t cLen[kNC] = {};
  std::uint8_t tLen[kNT] = {};
  std::uint8_t pLen[kNP] = {};
  std::uint16_t cCode[kNC] = {};
  std::uint16_t tCode[kNT] = {};
  std::uint16_t pCode[kNP] = {};
  std::uint64_t headerBits = 0;  // symbol count and the three tables
  std::uint64_t symbolBits = 0;  // the coded symbols with their extra distance bits
};

// Plans the tables for these frequencies. With codes clear only the lengths
// and sizes are worked out (enough to compare costs).
void PlanBlock(const BlockFrequencies& freq, BlockPlan& plan, bool codes);

// The distance class of a distance (its bit width), 0..13.
inline unsigned DistanceClass(unsigned distance) {
  return distance == 0 ? 0 : 32 - static_cast<unsigned>(__builtin_clz(distance));
}

// Puts the block's symbol count and tables through sink.Put(bits, value).
template <class Sink>
void EmitTables(const BlockPlan& plan, unsigned symbolCount, Sink& sink);

// Counts bits instead of writing them.
struct BitCounter {
  std::uint64_t bits = 0;
  void Put(unsigned n, std::uint32_t /*value*/) { bits += n; }
};

namespace detail {

inline int UsedLength(const std::uint8_t* lengths, int n) {
  while (n > 0 && lengths[n - 1] == 0) --n;
  return n;
}

// A code-length or distance table: lengths up to 6 in 3 bits, longer ones as
// that many minus 4 one bits after 111 and a closing 0; after the special
// index a 2-bit count of zero lengths that follow.
template <class Sink>
void EmitLengthTable(const std::uint8_t* lengths, int n, int nbit, int special, Sink& sink) {
  n = UsedLength(lengths, n);
  sink.Put(static_cast<unsigned>(nbit), static_cast<std::uint32_t>(n));
  int i = 0;
  while (i < n) {
    const int k = lengths[i++];
    if (k <= 6) {
      sink.Put(3, static_cast<std::uint32_t>(k));
    } else {
      sink.Put(static_cast<unsigned>(k - 3), (1u << (k - 3)) - 2);
    }
    if (i == special) {
      while (i < 6 && lengths[i] == 0) ++i;
      sink.Put(2, static_cast<std::uint32_t>(i - special));
    }
  }
}

// Calls visit(tSymbol, extraBits, extraValue) for the literal/length lengths
// as the code-length code sends them: length k is symbol k + 2; zero runs are
// symbol 0 (one zero), 1 (3..18 zeros, 4 bits), 2 (20..531 zeros, 9 bits), and
// a run of 19 is one zero and a run of 18.
template <class Visit>
void ForEachCodeLengthSymbol(const std::uint8_t* cLen, Visit&& visit) {
  const int n = UsedLength(cLen, kNC);
  int i = 0;
  while (i < n) {
    const int k = cLen[i++];
    if (k != 0) {
      visit(k + 2, 0u, 0u);
      continue;
    }
    int run = 1;
    while (i < n && cLen[i] == 0) {
      ++i;
      ++run;
    }
    if (run <= 2) {
      for (int j = 0; j < run; ++j) visit(0, 0u, 0u);
    } else if (run <= 18) {
      visit(1, 4u, static_cast<unsigned>(run - 3));
    } else if (run == 19) {
      visit(0, 0u, 0u);
      visit(1, 4u, 15u);
    } else {
      visit(2, static_cast<unsigned>(kCBit), static_cast<unsigned>(run - 20));
    }
  }
}

}  // namespace detail

template <class Sink>
void EmitTables(const BlockPlan& plan, unsigned symbolCount, Sink& sink) {
  sink.Put(16, symbolCount);
  if (plan.cSingle >= 0) {
    sink.Put(kTBit, 0);
    sink.Put(kTBit, 0);
    sink.Put(kCBit, 0);
    sink.Put(kCBit, static_cast<std::uint32_t>(plan.cSingle));
  } else {
    if (plan.tSingle >= 0) {
      sink.Put(kTBit, 0);
      sink.Put(kTBit, static_cast<std::uint32_t>(plan.tSingle));
    } else {
      detail::EmitLengthTable(plan.tLen, kNT, kTBit, kTSpecial, sink);
    }
    sink.Put(kCBit, static_cast<std::uint32_t>(detail::UsedLength(plan.cLen, kNC)));
    detail::ForEachCodeLengthSymbol(plan.cLen, [&](int t, unsigned extraBits, unsigned extra) {
      sink.Put(plan.tLen[t], plan.tCode[t]);
      sink.Put(extraBits, extra);
    });
  }
  if (plan.pSingle >= 0) {
    sink.Put(kPBit, 0);
    sink.Put(kPBit, static_cast<std::uint32_t>(plan.pSingle));
  } else {
    detail::EmitLengthTable(plan.pLen, kNP, kPBit, -1, sink);
  }
}

}  // namespace lh5
