#pragma once
// Hand-made -lh5- streams for the decoder tests: bits written as the format
// lays them out, so a test states every table and symbol of a block itself.
// Nothing here comes from the compressor under test.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qmtest {

class Lh5StreamBuilder {
 public:
  // The low n bits of value, most significant first.
  Lh5StreamBuilder& Bits(unsigned n, std::uint32_t value) {
    for (unsigned i = n; i-- > 0;) PutBit((value >> i) & 1u);
    return *this;
  }

  // A code-length or distance table (nbit 5 or 4) as its explicit lengths:
  // 0..6 in three bits, longer ones as 111 followed by (length - 7) ones and a
  // zero. With special >= 0 a 2-bit count of zero lengths follows that index;
  // the zeros it announces must be left out of lengths.
  Lh5StreamBuilder& PtTable(unsigned nbit, const std::vector<int>& lengths, int special, unsigned zerosAfterSpecial = 0) {
    Bits(nbit, static_cast<std::uint32_t>(lengths.size() + (special >= 0 ? zerosAfterSpecial : 0)));
    for (std::size_t i = 0; i < lengths.size(); ++i) {
      PutLength(lengths[i]);
      if (static_cast<int>(i) + 1 == special) Bits(2, zerosAfterSpecial);
    }
    return *this;
  }

  // A table sent as one constant symbol: a count of 0, then the symbol.
  Lh5StreamBuilder& ConstantTable(unsigned nbit, std::uint32_t symbol) { return Bits(nbit, 0).Bits(nbit, symbol); }

  // The canonical code of symbol among these lengths: shorter codes first,
  // equal lengths in symbol order.
  static std::uint32_t Code(const std::vector<int>& lengths, std::size_t symbol) {
    std::uint32_t code = 0;
    for (int len = 1; len <= 16; ++len) {
      for (std::size_t s = 0; s < lengths.size(); ++s) {
        if (lengths[s] != len) continue;
        if (s == symbol) return code;
        ++code;
      }
      code <<= 1;
    }
    return 0;
  }

  // Symbol in the canonical code of these lengths.
  Lh5StreamBuilder& Symbol(const std::vector<int>& lengths, std::size_t symbol) {
    return Bits(static_cast<unsigned>(lengths[symbol]), Code(lengths, symbol));
  }

  // The literal/length lengths sent one by one through the code-length code
  // tLengths: a zero as code-length symbol 0, a length k as symbol k + 2.
  Lh5StreamBuilder& CLengths(const std::vector<int>& cLengths, const std::vector<int>& tLengths) {
    Bits(9, static_cast<std::uint32_t>(cLengths.size()));
    for (int len : cLengths) Symbol(tLengths, len == 0 ? 0 : static_cast<std::size_t>(len + 2));
    return *this;
  }

  // The bytes so far, the last one padded with zero bits.
  std::string Bytes() const {
    std::string out = bytes_;
    if (used_ > 0) out += static_cast<char>(pending_ << (8 - used_));
    return out;
  }

 private:
  void PutBit(unsigned bit) {
    pending_ = static_cast<std::uint8_t>((pending_ << 1) | bit);
    if (++used_ == 8) {
      bytes_ += static_cast<char>(pending_);
      pending_ = 0;
      used_ = 0;
    }
  }

  void PutLength(int len) {
    if (len <= 6) {
      Bits(3, static_cast<std::uint32_t>(len));
      return;
    }
    Bits(3, 7);
    for (int i = 7; i < len; ++i) PutBit(1);
    PutBit(0);
  }

  std::string bytes_;
  std::uint8_t pending_ = 0;
  unsigned used_ = 0;
};

}  // namespace qmtest
