#include "install/codec/lh5_parser.h"

#include <algorithm>
#include <cstring>

namespace lh5 {

namespace {

constexpr std::int32_t kNil = INT32_MIN / 2;  // an empty chain; never within reach of a position
constexpr std::uint32_t kWindowMask = kDicSize - 1;

// Search effort: candidates tried per position, fewer once the match waiting
// from the previous position is already good; a match this long ends the
// search; a waiting match this long is taken without looking further.
constexpr unsigned kMaxChain = 64;
constexpr unsigned kGoodLength = 32;
constexpr unsigned kNiceLength = kMaxMatch;
constexpr unsigned kMaxLazy = 128;
// A 3-byte match this far back costs more bits than its three literals.
constexpr std::size_t kTooFar = 4096;

inline std::uint32_t Load32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline std::uint64_t Load64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline unsigned MatchLength(const std::uint8_t* a, const std::uint8_t* b, unsigned limit) {
  unsigned len = 0;
  while (len + 8 <= limit) {
    const std::uint64_t diff = Load64(a + len) ^ Load64(b + len);
    if (diff != 0) return len + static_cast<unsigned>(__builtin_ctzll(diff)) / 8;
    len += 8;
  }
  while (len < limit && a[len] == b[len]) ++len;
  return len;
}

}  // namespace

Parser::Parser()
    : buffer_(std::make_unique<std::uint8_t[]>(kBufferSize + 8)),
      head_(std::make_unique<std::int32_t[]>(std::size_t{1} << kHashBits)),
      prev_(std::make_unique<std::int32_t[]>(kDicSize)),
      head3_(std::make_unique<std::int32_t[]>(std::size_t{1} << kHash3Bits)) {}

Parser::Candidates Parser::Insert(std::size_t pos) {
  const std::uint32_t key = Load32(buffer_.get() + pos);
  const std::uint32_t hash = (key * 2654435761u) >> (32 - kHashBits);
  const std::uint32_t hash3 = ((key & 0xFFFFFFu) * 2246822519u) >> (32 - kHash3Bits);
  const Candidates found{head_[hash], head3_[hash3]};
  prev_[pos & kWindowMask] = found.chain;
  head_[hash] = static_cast<std::int32_t>(pos);
  head3_[hash3] = static_cast<std::int32_t>(pos);
  return found;
}

unsigned Parser::LongestMatch(std::size_t pos, Candidates candidates, unsigned limit, unsigned best,
                              std::size_t& matchPos) const {
  if (best >= limit) return best;
  const std::uint8_t* const buf = buffer_.get();
  const std::uint8_t* const cur = buf + pos;
  const auto lowest = static_cast<std::int64_t>(pos) - static_cast<std::int64_t>(kDicSize);
  // The 4-byte chain misses matches of exactly 3 bytes; the nearest one is
  // the cheapest to code anyway.
  if (best < kThreshold && candidates.near3 >= lowest) {
    const std::uint8_t* const m = buf + candidates.near3;
    if (m[0] == cur[0] && m[1] == cur[1] && m[2] == cur[2]) {
      best = MatchLength(m, cur, limit);
      matchPos = static_cast<std::size_t>(candidates.near3);
    }
  }
  auto candidate = candidates.chain;
  unsigned chain = best >= kGoodLength ? kMaxChain / 4 : kMaxChain;
  while (candidate >= lowest && chain-- > 0) {
    const std::uint8_t* const m = buf + candidate;
    if (m[best] == cur[best] && m[0] == cur[0] && m[1] == cur[1]) {
      const unsigned len = MatchLength(m, cur, limit);
      if (len > best) {
        best = len;
        matchPos = static_cast<std::size_t>(candidate);
        if (len >= kNiceLength || len >= limit) break;
      }
    }
    const std::int32_t next = prev_[static_cast<std::uint32_t>(candidate) & kWindowMask];
    // Links only lead back; one that does not was overwritten by a newer position.
    if (next >= candidate) break;
    candidate = next;
  }
  return best;
}

bool Parser::Refill(Input& input, std::size_t& pos) {
  std::uint8_t* const buf = buffer_.get();
  if (pos > kKeep && end_ + kMaxMatch > kBufferSize - kMaxMatch) {
    const std::size_t delta = pos - kKeep;
    std::memmove(buf, buf + delta, end_ - delta);
    end_ -= delta;
    pos -= delta;
    const auto shift = static_cast<std::int32_t>(delta);
    auto move = [shift](std::int32_t& p) { p = p >= shift ? p - shift : kNil; };
    std::for_each(head_.get(), head_.get() + (std::size_t{1} << kHashBits), move);
    std::for_each(prev_.get(), prev_.get() + kDicSize, move);
    std::for_each(head3_.get(), head3_.get() + (std::size_t{1} << kHash3Bits), move);
  }
  while (!inputDone_ && end_ < kBufferSize) {
    const std::size_t got = std::min(input.ReadInput(buf + end_, kBufferSize - end_), kBufferSize - end_);
    if (got == 0) inputDone_ = true;
    end_ += got;
  }
  return end_ > pos;
}

void Parser::Run(Input& input, BlockWriter& blocks) {
  std::fill(head_.get(), head_.get() + (std::size_t{1} << kHashBits), kNil);
  std::fill(prev_.get(), prev_.get() + kDicSize, kNil);
  std::fill(head3_.get(), head3_.get() + (std::size_t{1} << kHash3Bits), kNil);
  end_ = 0;
  inputDone_ = false;

  std::size_t pos = 0;
  unsigned prevLen = 0;       // match found at pos - 1, waiting for the verdict of pos
  unsigned prevDistance = 0;
  bool waiting = false;       // the byte at pos - 1 is not emitted yet
  for (;;) {
    if (!inputDone_ && end_ - pos < kMaxMatch + 2) Refill(input, pos);
    const std::uint8_t* const buf = buffer_.get();
    const std::size_t avail = end_ - pos;
    if (avail == 0) break;

    unsigned curLen = 0;
    std::size_t curPos = 0;
    if (avail >= kThreshold) {
      const Candidates candidate = Insert(pos);
      if (prevLen < kMaxLazy) {
        const unsigned floor = std::max(prevLen, static_cast<unsigned>(kThreshold) - 1);
        const auto limit = static_cast<unsigned>(std::min<std::size_t>(avail, kMaxMatch));
        curLen = LongestMatch(pos, candidate, limit, floor, curPos);
        if (curLen <= floor || (curLen == kThreshold && pos - curPos > kTooFar)) curLen = 0;
      }
    }

    if (prevLen >= kThreshold && curLen <= prevLen) {
      blocks.AddMatch(prevLen, prevDistance);
      const std::size_t next = pos + prevLen - 1;
      for (std::size_t p = pos + 1; p < next; ++p) {
        if (end_ - p >= kThreshold) Insert(p);
      }
      pos = next;
      prevLen = 0;
      waiting = false;
    } else {
      if (waiting) blocks.AddLiteral(buf[pos - 1]);
      waiting = true;
      prevLen = curLen;
      prevDistance = curLen > 0 ? static_cast<unsigned>(pos - curPos - 1) : 0;
      ++pos;
    }
  }
  if (waiting) blocks.AddLiteral(buffer_[pos - 1]);
}

}  // namespace lh5
