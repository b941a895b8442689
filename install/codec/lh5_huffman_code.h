#pragma once
// Huffman codes for the -lh5- compressor: code lengths limited to 16 bits and
// the canonical codes the decoder rebuilds from them.

#include <cstdint>

namespace lh5 {

// Lengths of an optimal prefix code for freq[0..n) limited to maxLength bits;
// symbols of frequency 0 get length 0. Needs at least two symbols of nonzero
// frequency; the result is then always a complete code.
void BuildCodeLengths(const std::uint32_t* freq, int n, int maxLength, std::uint8_t* lengths);

// Canonical codes: shorter codes first, equal lengths in symbol order.
void MakeCodes(const std::uint8_t* lengths, int n, std::uint16_t* codes);

}  // namespace lh5
