#pragma once
// Codecs expand (and produce) the data of one archive entry between two streams:
// method 2 stores the bytes unchanged, method 3 is -lh5- (LZSS over an 8192-byte
// dictionary with static Huffman codes sent anew for every block).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

// The stream a codec reads from: the archive's counting read, which may switch
// volumes underneath. Read returns fewer bytes than asked only at the real end.
class CodecSource {
 public:
  virtual ~CodecSource() = default;
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
};

// The stream a codec writes to: the entry's output file (or memory in tests).
class CodecSink {
 public:
  virtual ~CodecSink() = default;
  virtual void Write(const void* buffer, std::size_t count) = 0;
};

inline constexpr uint32_t kMethodStored = 2;
inline constexpr uint32_t kMethodLh5 = 3;

class CCodec {
 public:
  virtual ~CCodec() = default;

  // Asks a running Decode to stop before its next symbol (or chunk). Called from
  // a progress hook inside the source's Read.
  virtual void Abort() { aborted_ = true; }
  bool IsAborted() const { return aborted_; }

  // Writes exactly uncompressedSize bytes to destination unless aborted, reading
  // at most compressedSize bytes from source.
  void Decode(CodecSource& source, CodecSink& destination, uint32_t compressedSize, uint32_t uncompressedSize);
  // Reads source to its end and writes the coded data to destination.
  void Encode(CodecSource& source, CodecSink& destination);

 protected:
  virtual int ReadByte();  // the next source byte, or -1 at the end
  virtual std::size_t ReadBlock(void* buffer, std::size_t count);
  virtual void WriteByte(uint8_t byte);
  virtual void WriteBlock(const void* buffer, std::size_t count);
  virtual void EncodeBody() = 0;
  virtual void DecodeBody(uint32_t compressedSize, uint32_t uncompressedSize) = 0;

  bool IsEncoding() const { return encoding_; }
  bool IsDecoding() const { return decoding_; }

 private:
  // Binds the streams and sets running for the length of body.
  void Run(CodecSource& source, CodecSink& destination, bool& running, const std::function<void()>& body);

  CodecSource* source_ = nullptr;
  CodecSink* destination_ = nullptr;
  bool aborted_ = false;
  bool encoding_ = false;
  bool decoding_ = false;
};

// A new codec for an archive method (2 stored, 3 -lh5-), or null for any other
// method; the parameter is handed over and not interpreted.
std::unique_ptr<CCodec> CreateCodec(uint32_t method, uint32_t parameter);
