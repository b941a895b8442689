#include "install/codec/lh5_codec.h"

#include <algorithm>

#include "install/codec/lh5_decoder.h"
#include "install/codec/lh5_encoder.h"

CLh5Codec::CLh5Codec() = default;

CLh5Codec::~CLh5Codec() = default;

void CLh5Codec::Abort() {
  CCodec::Abort();
  if (decoder_) decoder_->RequestStop();
}

void CLh5Codec::EncodeBody() {
  if (!encoder_) encoder_ = std::make_unique<lh5::Encoder>();
  encoder_->Encode(*this, *this);
}

void CLh5Codec::DecodeBody(uint32_t compressedSize, uint32_t uncompressedSize) {
  if (!decoder_) decoder_ = std::make_unique<lh5::Decoder>();
  decoder_->Start(*this, compressedSize);
  uint32_t remaining = uncompressedSize;
  while (remaining > 0 && !IsAborted()) {
    const auto want = std::min<std::size_t>(remaining, lh5::Decoder::kChunkSize);
    const std::size_t produced = decoder_->DecodeChunk(want);
    if (produced > 0) WriteBlock(decoder_->Chunk(), produced);
    if (produced < want) return;  // stopped
    remaining -= static_cast<uint32_t>(produced);
    if (remaining > 0) decoder_->NextChunk();
  }
  if (!IsAborted()) decoder_->SkipRest();
}
