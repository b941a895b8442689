#pragma once
// Method 3: -lh5- (LZSS over an 8192-byte dictionary, static Huffman codes sent
// anew for every block).

#include <cstddef>
#include <cstdint>
#include <memory>

#include "install/codec/codec.h"
#include "install/codec/lh5_stream.h"

namespace lh5 {
class Decoder;
class Encoder;
}  // namespace lh5

class CLh5Codec : public CCodec, private lh5::Input, private lh5::Output {
 public:
  CLh5Codec();
  ~CLh5Codec() override;

  // Also reaches a decode in progress, which stops before its next symbol.
  void Abort() override;

 protected:
  void EncodeBody() override;
  // Writes uncompressedSize bytes in 8192-byte chunks; stopped by Abort, it
  // writes only what was decoded. Reads exactly compressedSize bytes (all of
  // them, so that the source ends up after the stream), fewer only when the
  // source ends first or the run is aborted.
  void DecodeBody(uint32_t compressedSize, uint32_t uncompressedSize) override;

 private:
  std::size_t ReadInput(void* buffer, std::size_t count) override { return ReadBlock(buffer, count); }
  void WriteOutput(const void* buffer, std::size_t count) override { WriteBlock(buffer, count); }

  // Each is made on first use: a codec that only decodes never holds the
  // compressor's buffers.
  std::unique_ptr<lh5::Decoder> decoder_;
  std::unique_ptr<lh5::Encoder> encoder_;
};
