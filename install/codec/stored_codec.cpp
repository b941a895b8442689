#include "install/codec/stored_codec.h"

#include <algorithm>

#include "install/errors/xexception.h"

CStoredCodec::CStoredCodec() : buffer_(std::make_unique<uint8_t[]>(kBufferSize)) {}

void CStoredCodec::EncodeBody() {
  for (;;) {
    const std::size_t got = ReadBlock(buffer_.get(), kBufferSize);
    if (got == 0) return;
    WriteBlock(buffer_.get(), got);
  }
}

void CStoredCodec::DecodeBody(uint32_t compressedSize, uint32_t uncompressedSize) {
  // The data is never read past the entry's own bytes: beyond them lies the
  // next entry's header.
  uint32_t budget = compressedSize;
  uint32_t remaining = uncompressedSize;
  while (remaining > 0) {
    // A cancel from a progress hook takes effect at the next piece.
    if (IsAborted()) return;
    const std::size_t want = std::min<std::size_t>({remaining, budget, kBufferSize});
    const std::size_t got = want == 0 ? 0 : std::min(ReadBlock(buffer_.get(), want), want);
    if (got == 0) throw CXFileException(platform::FileCause::EndOfFile);
    WriteBlock(buffer_.get(), got);
    remaining -= static_cast<uint32_t>(got);
    budget -= static_cast<uint32_t>(got);
  }
  // Bytes the entry holds beyond its content are passed over, so that the
  // source stands at the next entry.
  while (budget > 0 && !IsAborted()) {
    const std::size_t want = std::min<std::size_t>(budget, kBufferSize);
    const std::size_t got = std::min(ReadBlock(buffer_.get(), want), want);
    if (got < want) return;
    budget -= static_cast<uint32_t>(got);
  }
}
