#pragma once
// Method 2: the entry's bytes are stored unchanged.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "install/codec/codec.h"

class CStoredCodec : public CCodec {
 public:
  static constexpr std::size_t kBufferSize = 16384;

  CStoredCodec();

 protected:
  void EncodeBody() override;
  // Copies uncompressedSize bytes. Data that ends first (the source runs dry, or
  // the entry's compressedSize is used up) raises the end-of-file file error.
  void DecodeBody(uint32_t compressedSize, uint32_t uncompressedSize) override;

 private:
  std::unique_ptr<uint8_t[]> buffer_;
};
