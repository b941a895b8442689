#include "install/codec/lh5_decode_table.h"

#include <algorithm>

#include "install/errors/multi_file_exception.h"

namespace lh5 {

namespace {

[[noreturn]] void CorruptTable() { throw CMultiFileException(CMultiFileException::kCorruptTable); }

}  // namespace

void MakeTable(int nchar, const std::uint8_t* lengths, int tableBits, std::uint32_t* table, HuffmanTree& tree) {
  std::uint32_t count[kMaxCodeLength + 1] = {};
  for (int i = 0; i < nchar; ++i) {
    if (lengths[i] > kMaxCodeLength) CorruptTable();
    ++count[lengths[i]];
  }
  // Code positions are left-aligned to 16 bits. The sum is kept in 32 bits so
  // that an oversubscribed code cannot wrap around to look complete.
  std::uint32_t start[kMaxCodeLength + 2];
  start[1] = 0;
  for (int len = 1; len <= kMaxCodeLength; ++len) start[len + 1] = start[len] + (count[len] << (kMaxCodeLength - len));
  if (start[kMaxCodeLength + 1] != (1u << kMaxCodeLength)) CorruptTable();

  const int jutBits = kMaxCodeLength - tableBits;
  // Codes longer than the lookup come last, so their entries form the tail of
  // the table; tree roots hang from tail entries that are still 0.
  std::fill(table + (start[tableBits + 1] >> jutBits), table + (1 << tableBits), std::uint32_t{0});
  int avail = nchar;
  for (int ch = 0; ch < nchar; ++ch) {
    const int len = lengths[ch];
    if (len == 0) continue;
    const std::uint32_t code = start[len];
    const std::uint32_t next = code + (1u << (kMaxCodeLength - len));
    if (len <= tableBits) {
      const std::uint32_t entry = MakeEntry(ch, len);
      std::fill(table + (code >> jutBits), table + (next >> jutBits), entry);
    } else {
      // The lookup entry holds the root node; tree children hold plain
      // symbols and node numbers.
      std::uint32_t& root = table[code >> jutBits];
      if (root == 0) {
        if (avail >= kTreeSize) CorruptTable();
        tree.left[avail] = tree.right[avail] = 0;
        root = MakeEntry(avail++, 0);
      }
      int node = root >> kEntrySymbolShift;
      // A complete code never needs more nodes than it has symbols, and never
      // hangs a code below a shorter one; the checks keep every index in bounds.
      if ((root & kEntryLengthMask) != 0 || node < nchar || node >= kTreeSize) CorruptTable();
      for (int bit = tableBits; bit < len; ++bit) {
        const bool one = (code >> (kMaxCodeLength - 1 - bit)) & 1u;
        std::uint16_t& child = one ? tree.right[node] : tree.left[node];
        if (bit + 1 == len) {
          child = static_cast<std::uint16_t>(ch);
          break;
        }
        if (child == 0) {
          if (avail >= kTreeSize) CorruptTable();
          tree.left[avail] = tree.right[avail] = 0;
          child = static_cast<std::uint16_t>(avail++);
        }
        node = child;
        if (node < nchar || node >= kTreeSize) CorruptTable();
      }
    }
    start[len] = next;
  }
}

void MakeConstantTable(int nchar, int symbol, int tableBits, std::uint32_t* table) {
  const std::uint32_t entry = symbol < nchar ? MakeEntry(symbol, 0) : kInvalidEntry;
  std::fill(table, table + (1 << tableBits), entry);
}

int WalkTree(int node, int nchar, std::uint32_t top16, int tableBits, const HuffmanTree& tree) {
  std::uint32_t mask = 1u << (kMaxCodeLength - 1 - tableBits);
  while (node >= nchar) {
    if (node >= kTreeSize || mask == 0) CorruptTable();
    node = (top16 & mask) ? tree.right[node] : tree.left[node];
    mask >>= 1;
  }
  return node;
}

}  // namespace lh5
