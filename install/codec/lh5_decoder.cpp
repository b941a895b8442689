#include "install/codec/lh5_decoder.h"

#include <algorithm>
#include <cstring>

#include "install/errors/multi_file_exception.h"
#include "install/errors/xexception.h"

namespace lh5 {

namespace {

// The most bits one symbol takes: a 16-bit literal/length code, a 16-bit
// distance class and 12 extra distance bits.
constexpr unsigned kSymbolBits = 44;

[[noreturn]] void CorruptTable() { throw CMultiFileException(CMultiFileException::kCorruptTable); }

inline std::uint64_t LoadBigEndian64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return __builtin_bswap64(v);
}

// The top n bits (0..63) of buffer; n = 0 gives 0 without an undefined shift.
inline std::uint32_t TopBits(std::uint64_t buffer, unsigned n) {
  return static_cast<std::uint32_t>((buffer >> 1) >> (63 - n));
}

// Copies a match of length bytes from distance bytes back. Source and
// destination may overlap (a distance below the length repeats the last
// distance bytes); up to 31 bytes past the end may be overwritten. Most
// matches are short and far enough back for two plain 16-byte moves.
inline void CopyMatch(std::uint8_t* out, std::size_t distance, std::size_t length) {
  const std::uint8_t* src = out - distance;
  if (distance >= 16) {
    std::memcpy(out, src, 16);
    std::memcpy(out + 16, src + 16, 16);
    if (length <= 32) return;
    std::uint8_t* const end = out + length;
    out += 32;
    src += 32;
    do {
      std::memcpy(out, src, 16);
      out += 16;
      src += 16;
    } while (out < end);
  } else if (distance == 1) {
    std::memset(out, *src, length);
  } else if (distance >= 8) {
    std::uint8_t* const end = out + length;
    do {
      std::memcpy(out, src, 8);
      out += 8;
      src += 8;
    } while (out < end);
  } else {
    std::uint8_t* const end = out + length;
    do {
      *out++ = *src++;
    } while (out < end);
  }
}

}  // namespace

void Decoder::Start(Input& input, std::uint32_t compressedSize) {
  input_ = &input;
  budget_ = compressedSize;
  paddings_ = 0;
  bits_ = BitState{0, 0, inputBuffer_, inputBuffer_};
  blockLeft_ = 0;
  pendingLength_ = 0;
  pendingDistance_ = 0;
  stopRequested_ = false;
  std::memset(window_, ' ', kDicSize);
  Refill();
}

bool Decoder::LoadInput() {
  if (budget_ == 0) return false;
  const std::size_t want = std::min<std::size_t>(kInputBlock, budget_);
  const std::size_t got = std::min(input_->ReadInput(inputBuffer_, want), want);
  // A short read is the real end of the data: never ask again.
  budget_ = got < want ? 0 : budget_ - static_cast<std::uint32_t>(got);
  bits_.next = inputBuffer_;
  bits_.end = inputBuffer_ + got;
  return got > 0;
}

void Decoder::Refill() {
  if (bits_.end - bits_.next >= 8) {
    bits_.buffer |= LoadBigEndian64(bits_.next) >> bits_.count;
    bits_.next += (63 - bits_.count) >> 3;
    bits_.count |= 56;
  } else {
    RefillSlow();
  }
}

void Decoder::RefillSlow() {
  while (bits_.count <= 56) {
    if (bits_.next == bits_.end && !LoadInput()) {
      // Past the compressed data the stream reads as zero bits. Each refill
      // follows at least 21 bits taken from the last one, and at most 56 real
      // bits were left at the first: by the fifth the decoder is consuming
      // padding, so the data is cut or damaged. Decoding on would write zeros
      // and garbage up to a size that a damaged header may put at 4 GB.
      if (++paddings_ > 4) throw CXFileException(platform::FileCause::EndOfFile);
      bits_.buffer &= bits_.count == 0 ? 0 : ~std::uint64_t{0} << (64 - bits_.count);
      bits_.count = 64;
      return;
    }
    bits_.buffer |= std::uint64_t{*bits_.next++} << (56 - bits_.count);
    bits_.count += 8;
  }
}

std::uint32_t Decoder::GetBits(unsigned n) {
  if (bits_.count < 32) Refill();
  const std::uint32_t value = TopBits(bits_.buffer, n);
  bits_.buffer <<= n;
  bits_.count -= n;
  return value;
}

void Decoder::ReadPtLen(int nn, int nbit, int special) {
  const int n = static_cast<int>(GetBits(nbit));
  if (n == 0) {
    const int c = static_cast<int>(GetBits(nbit));
    std::fill(ptLen_, ptLen_ + nn, std::uint8_t{0});
    MakeConstantTable(nn, c, kPtTableBits, ptTable_);
    return;
  }
  if (n > nn) CorruptTable();
  int i = 0;
  while (i < n) {
    if (bits_.count < 32) Refill();
    const auto top16 = static_cast<std::uint32_t>(bits_.buffer >> 48);
    int c = static_cast<int>(top16 >> 13);
    if (c == 7) {
      // Lengths from 7 up are unary: one more for every further 1 bit in the
      // 16-bit window, counted from bit 12 down.
      for (std::uint32_t mask = 1u << 12; mask != 0 && (top16 & mask); mask >>= 1) ++c;
    }
    const unsigned used = c < 7 ? 3 : static_cast<unsigned>(c - 3);
    bits_.buffer <<= used;
    bits_.count -= used;
    ptLen_[i++] = static_cast<std::uint8_t>(c);  // lengths above 16 are refused by MakeTable
    if (i == special) {
      int zeros = static_cast<int>(GetBits(2));
      while (zeros-- > 0 && i < nn) ptLen_[i++] = 0;
    }
  }
  std::fill(ptLen_ + i, ptLen_ + nn, std::uint8_t{0});
  MakeTable(nn, ptLen_, kPtTableBits, ptTable_, tree_);
}

void Decoder::ReadCLen() {
  const int n = static_cast<int>(GetBits(kCBit));
  if (n == 0) {
    const int c = static_cast<int>(GetBits(kCBit));
    std::fill(cLen_, cLen_ + kNC, std::uint8_t{0});
    MakeConstantTable(kNC, c, kCTableBits, cTable_);
    return;
  }
  if (n > kNC) CorruptTable();
  int i = 0;
  while (i < n) {
    if (bits_.count < 32) Refill();
    const auto top16 = static_cast<std::uint32_t>(bits_.buffer >> 48);
    const std::uint32_t entry = ptTable_[top16 >> (16 - kPtTableBits)];
    int c = entry >> kEntrySymbolShift;
    unsigned used = entry & kEntryLengthMask;
    if (c >= kNT) {
      c = WalkTree(c, kNT, top16, kPtTableBits, tree_);
      used = ptLen_[c];
    }
    bits_.buffer <<= used;
    bits_.count -= used;
    if (c > 2) {
      cLen_[i++] = static_cast<std::uint8_t>(c - 2);
      continue;
    }
    const int zeros = c == 0 ? 1 : c == 1 ? static_cast<int>(GetBits(4)) + 3 : static_cast<int>(GetBits(kCBit)) + 20;
    if (zeros > kNC - i) CorruptTable();
    std::fill(cLen_ + i, cLen_ + i + zeros, std::uint8_t{0});
    i += zeros;
  }
  std::fill(cLen_ + i, cLen_ + kNC, std::uint8_t{0});
  MakeTable(kNC, cLen_, kCTableBits, cTable_, tree_);
}

void Decoder::ReadBlockHeader() {
  blockLeft_ = static_cast<std::uint16_t>(GetBits(16));
  ReadPtLen(kNT, kTBit, kTSpecial);
  ReadCLen();
  ReadPtLen(kNP, kPBit, -1);
}

std::size_t Decoder::DecodeChunk(std::size_t size) {
  std::uint8_t* const chunk = window_ + kDicSize;
  std::uint8_t* out = chunk;
  std::uint8_t* const end = chunk + size;

  if (pendingLength_ > 0) {
    const std::size_t n = std::min(pendingLength_, size);
    CopyMatch(out, pendingDistance_, n);
    out += n;
    pendingLength_ -= n;
    if (out == end) return size;
  }

  // The hot state lives in scalar locals: stores into the window may alias any
  // member, and a struct tends to end up in memory or vector registers.
  std::uint64_t buffer = bits_.buffer;
  unsigned count = bits_.count;
  const std::uint8_t* next = bits_.next;
  const std::uint8_t* inputEnd = bits_.end;
  std::uint16_t blockLeft = blockLeft_;
  auto save = [&] {
    bits_.buffer = buffer;
    bits_.count = count;
    bits_.next = next;
  };
  auto load = [&] {
    buffer = bits_.buffer;
    count = bits_.count;
    next = bits_.next;
    inputEnd = bits_.end;
  };
  auto consume = [&](unsigned n) {
    buffer <<= n;
    count -= n;
  };

  while (out < end) {
    if (stopRequested_) break;
    if (blockLeft == 0) {
      save();
      ReadBlockHeader();
      load();
      blockLeft = blockLeft_;
    }
    --blockLeft;
    if (count < kSymbolBits) {
      if (inputEnd - next >= 8) {
        buffer |= LoadBigEndian64(next) >> count;
        next += (63 - count) >> 3;
        count |= 56;
      } else {
        save();
        RefillSlow();
        load();
      }
    }

    const unsigned centry = cTable_[buffer >> (64 - kCTableBits)];
    if (centry < (256u << kEntrySymbolShift)) {
      // A literal: the most common case, kept short.
      consume(static_cast<std::uint8_t>(centry));
      *out++ = static_cast<std::uint8_t>(centry >> kEntrySymbolShift);
      continue;
    }
    unsigned symbol = centry >> kEntrySymbolShift;
    unsigned used = centry & kEntryLengthMask;
    if (symbol >= static_cast<unsigned>(kNC)) {
      symbol = static_cast<unsigned>(
          WalkTree(static_cast<int>(symbol), kNC, static_cast<std::uint32_t>(buffer >> 48), kCTableBits, tree_));
      used = cLen_[symbol];
    }
    consume(used);
    if (symbol < 256) {
      *out++ = static_cast<std::uint8_t>(symbol);
      continue;
    }

    const unsigned pentry = ptTable_[buffer >> (64 - kPtTableBits)];
    unsigned slot = pentry >> kEntrySymbolShift;
    used = pentry & kEntryLengthMask;
    if (slot >= static_cast<unsigned>(kNP)) {
      slot = static_cast<unsigned>(
          WalkTree(static_cast<int>(slot), kNP, static_cast<std::uint32_t>(buffer >> 48), kPtTableBits, tree_));
      used = ptLen_[slot];
    }
    consume(used);
    const unsigned extra = slot > 0 ? slot - 1 : 0;
    const std::size_t distance = (slot > 0 ? (std::size_t{1} << extra) : 0) + TopBits(buffer, extra) + 1;
    consume(extra);

    const std::size_t length = static_cast<std::size_t>(SymbolLength(static_cast<int>(symbol)));
    const std::size_t room = static_cast<std::size_t>(end - out);
    if (length <= room) {
      CopyMatch(out, distance, length);
      out += length;
    } else {
      CopyMatch(out, distance, room);
      out = end;
      pendingLength_ = length - room;
      pendingDistance_ = distance;
    }
  }
  save();
  blockLeft_ = blockLeft;
  return static_cast<std::size_t>(out - chunk);
}

void Decoder::NextChunk() { std::memcpy(window_, window_ + kDicSize, kDicSize); }

void Decoder::SkipRest() {
  std::uint8_t scratch[kInputBlock];
  while (budget_ > 0) {
    const std::size_t want = std::min<std::size_t>(kInputBlock, budget_);
    const std::size_t got = std::min(input_->ReadInput(scratch, want), want);
    budget_ = got < want ? 0 : budget_ - static_cast<std::uint32_t>(got);
  }
}

}  // namespace lh5
