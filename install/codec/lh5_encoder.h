#pragma once
// The -lh5- compressor: the parser's literals and matches, coded in blocks.
//
// Its streams are in the published -lh5- format and decode with any decoder of
// it; the way there is faster than the published compressor and codes a
// little tighter:
// - Matches come from hash chains (4-byte hashes, plus the nearest 3-byte
//   match) instead of a suffix trie, with the published lazy matching: a match
//   found at the previous position is sent when the current one is not longer.
//   A 3-byte match more than 4096 bytes back is sent as literals, which is
//   cheaper.
// - Blocks are cut where separate code tables pay for themselves, judged over
//   segments of 1024 symbols, rather than whenever a 16 KB buffer of match
//   records fills; so there is no record buffer to shrink when memory is short.
// - Code lengths are limited to 16 bits by moving leaves up the tree two at a
//   time, which keeps the code complete and close to optimal.
// - Bits are gathered 64 at a time; the bytes are the same as through a
//   one-byte accumulator, the last one padded with zero bits.
// - An empty input gives an empty stream instead of one block of zero symbols,
//   which some decoders refuse (and others would read as 65536 symbols).
// Single-symbol tables are sent as constants, as published; bsdtar refuses a
// block whose code-length code is such a constant, which only very short
// inputs (one byte, or a byte repeated) produce.

#include <memory>

#include "install/codec/lh5_stream.h"

namespace lh5 {

class Parser;

class Encoder {
 public:
  Encoder();
  ~Encoder();
  // Reads input to its end and writes one -lh5- stream to output.
  void Encode(Input& input, Output& output);

 private:
  std::unique_ptr<Parser> parser_;
};

}  // namespace lh5
