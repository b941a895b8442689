#pragma once
// The fixed parameters of the -lh5- format, shared by the decoder and the
// compressor. None of them is configurable: they are part of the format.

#include <cstddef>
#include <cstdint>

namespace lh5 {

inline constexpr int kDicBits = 13;
inline constexpr std::size_t kDicSize = std::size_t{1} << kDicBits;  // 8192
inline constexpr int kMaxMatch = 256;
inline constexpr int kThreshold = 3;  // shortest match

// Literal/length alphabet: 256 literals, then lengths 3..256 as symbols 256..509.
inline constexpr int kNC = 256 + kMaxMatch - kThreshold + 1;  // 510
inline constexpr int kNP = kDicBits + 1;  // distance classes 0..13
inline constexpr int kNT = 16 + 3;        // code-length code: 0..2 zero runs, 3..18 lengths 1..16
inline constexpr int kCBit = 9;           // width of counts in the literal/length length table
inline constexpr int kPBit = 4;           // width of counts in the distance length table
inline constexpr int kTBit = 5;           // width of counts in the code-length-code length table
inline constexpr int kTSpecial = 3;       // after this many code-length-code lengths, a 2-bit zero run

inline constexpr int kMaxCodeLength = 16;
inline constexpr int kCTableBits = 12;
inline constexpr int kPtTableBits = 8;
inline constexpr int kTreeSize = 2 * kNC - 1;  // 1019 nodes for left and right children

// A literal/length symbol for a match of length len, and back.
constexpr int LengthSymbol(int len) { return len + 256 - kThreshold; }
constexpr int SymbolLength(int symbol) { return symbol - (256 - kThreshold); }

}  // namespace lh5
