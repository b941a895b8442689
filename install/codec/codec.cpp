#include "install/codec/codec.h"

#include <stdexcept>

#include "install/codec/lh5_codec.h"
#include "install/codec/stored_codec.h"

void CCodec::Run(CodecSource& source, CodecSink& destination, bool& running, const std::function<void()>& body) {
  // The streams are forgotten however the body ends, so a codec never holds on
  // to an archive that has gone away.
  struct Frame {
    CCodec& codec;
    bool& running;
    ~Frame() {
      running = false;
      codec.source_ = nullptr;
      codec.destination_ = nullptr;
    }
  };
  source_ = &source;
  destination_ = &destination;
  aborted_ = false;
  running = true;
  Frame frame{*this, running};
  body();
}

void CCodec::Decode(CodecSource& source, CodecSink& destination, uint32_t compressedSize, uint32_t uncompressedSize) {
  Run(source, destination, decoding_, [&] { DecodeBody(compressedSize, uncompressedSize); });
}

void CCodec::Encode(CodecSource& source, CodecSink& destination) {
  Run(source, destination, encoding_, [&] { EncodeBody(); });
}

int CCodec::ReadByte() {
  uint8_t byte = 0;
  return ReadBlock(&byte, 1) == 1 ? byte : -1;
}

std::size_t CCodec::ReadBlock(void* buffer, std::size_t count) {
  if (source_ == nullptr) throw std::logic_error("codec read outside Encode or Decode");
  return source_->Read(buffer, count);
}

void CCodec::WriteByte(uint8_t byte) { WriteBlock(&byte, 1); }

void CCodec::WriteBlock(const void* buffer, std::size_t count) {
  if (destination_ == nullptr) throw std::logic_error("codec write outside Encode or Decode");
  destination_->Write(buffer, count);
}

std::unique_ptr<CCodec> CreateCodec(uint32_t method, uint32_t /*parameter*/) {
  switch (method) {
    case kMethodStored:
      return std::make_unique<CStoredCodec>();
    case kMethodLh5:
      return std::make_unique<CLh5Codec>();
    default:
      return nullptr;
  }
}
