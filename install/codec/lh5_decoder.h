#pragma once
// The -lh5- decoder: bit input within a compressed-byte budget, the three code
// tables of every block, and the output loop over the 8192-byte dictionary.
//
// The output is produced in chunks of at most 8192 bytes. A chunk is decoded
// right after the 8192 bytes before it (the history, initially all spaces, so
// that a distance reaching before the first byte reads a space as the LHA
// family's decoders do); a match that does not fit the chunk is finished at the
// start of the next one.

#include <cstddef>
#include <cstdint>

#include "install/codec/lh5_decode_table.h"
#include "install/codec/lh5_format.h"
#include "install/codec/lh5_stream.h"

namespace lh5 {

class Decoder {
 public:
  static constexpr std::size_t kChunkSize = kDicSize;

  // Begins a stream of compressedSize bytes. No byte beyond them is ever
  // requested from input; past them the decoder sees zero bits.
  void Start(Input& input, std::uint32_t compressedSize);

  // Decodes the next chunk of size bytes (1..kChunkSize) and returns how many
  // were produced: size, or fewer when a stop was requested. Raises
  // CMultiFileException code 4 for a damaged code table.
  std::size_t DecodeChunk(std::size_t size);
  const std::uint8_t* Chunk() const { return window_ + kDicSize; }
  // Makes the chunk just decoded the history of the next one.
  void NextChunk();

  // Polled before every symbol; may be called from inside input's ReadInput.
  void RequestStop() { stopRequested_ = true; }

  // Reads and drops the compressed bytes the stream did not use, so that the
  // input stands right after the stream (the next archive entry) even when a
  // stream carries slack at its end.
  void SkipRest();

 private:
  static constexpr std::size_t kInputBlock = 4096;
  static constexpr std::size_t kSlack = 64;  // match copies may write this far past their end

  struct BitState {
    std::uint64_t buffer;  // most significant bit first
    unsigned count;        // valid bits at the top; the bits below are 0 or the next byte's
    const std::uint8_t* next;
    const std::uint8_t* end;
  };

  void Refill();
  void RefillSlow();
  bool LoadInput();
  std::uint32_t GetBits(unsigned n);

  void ReadBlockHeader();
  void ReadPtLen(int nn, int nbit, int special);
  void ReadCLen();

  Input* input_ = nullptr;
  std::uint32_t budget_ = 0;  // compressed bytes not yet requested
  unsigned paddings_ = 0;     // refills past the end of the data, zero bits each
  BitState bits_{};
  std::uint16_t blockLeft_ = 0;  // symbols left in the block; 16 bits, so a count of 0 means 65536
  std::size_t pendingLength_ = 0;
  std::size_t pendingDistance_ = 0;  // distance + 1 of the unfinished match
  bool stopRequested_ = false;

  std::uint8_t cLen_[kNC];
  std::uint8_t ptLen_[kNT];
  std::uint32_t cTable_[1 << kCTableBits];
  std::uint32_t ptTable_[1 << kPtTableBits];
  HuffmanTree tree_;
  std::uint8_t inputBuffer_[kInputBlock + 8];
  std::uint8_t window_[2 * kDicSize + kSlack];  // history, then the chunk being decoded
};

}  // namespace lh5
