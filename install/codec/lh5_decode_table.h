#pragma once
// Decoding tables of the -lh5- Huffman codes: a direct lookup on the top bits
// of the bit buffer, with a binary tree for the codes longer than the lookup.

#include <cstdint>

#include "install/codec/lh5_format.h"

namespace lh5 {

// A lookup entry holds a symbol and its code length (symbol << 8 | length), or
// the tree node where a longer code continues (then the length is 0 and the
// node is >= nchar). The length is the low byte, so that the decoder shifts by
// it as it stands.
inline constexpr int kEntrySymbolShift = 8;
inline constexpr std::uint32_t kEntryLengthMask = (1u << kEntrySymbolShift) - 1;
constexpr std::uint32_t MakeEntry(int symbol, int length) {
  return static_cast<std::uint32_t>((symbol << kEntrySymbolShift) | length);
}
// No symbol at all: decoding it raises the corrupt-table error. A block may
// declare a constant symbol outside its alphabet; only its use is an error.
inline constexpr int kInvalidSymbol = 1023;
inline constexpr std::uint32_t kInvalidEntry = MakeEntry(kInvalidSymbol, 0);

// Children of the tree nodes, shared by all tables of a block: nodes are
// numbered from the table's alphabet size upward, so tables built one after
// another do not disturb the nodes a later lookup still needs.
struct HuffmanTree {
  std::uint16_t left[kTreeSize];
  std::uint16_t right[kTreeSize];
};

// Builds the lookup of tableBits bits (and the tree for longer codes) for the
// canonical code with these lengths. Raises CMultiFileException code 4 unless
// every length is at most 16 and the lengths form a complete prefix code, so a
// lookup or tree walk can never leave its arrays.
void MakeTable(int nchar, const std::uint8_t* lengths, int tableBits, std::uint32_t* table, HuffmanTree& tree);

// Every lookup yields symbol without consuming bits; a symbol outside the
// alphabet yields kInvalidEntry.
void MakeConstantTable(int nchar, int symbol, int tableBits, std::uint32_t* table);

// Finishes a lookup that led to a tree node, following the bits of top16 (the
// top 16 bits of the buffer) below the lookup width. Returns the symbol, or
// raises code 4 for an invalid entry or a walk that would go deeper than 16 bits.
int WalkTree(int node, int nchar, std::uint32_t top16, int tableBits, const HuffmanTree& tree);

}  // namespace lh5
