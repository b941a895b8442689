#pragma once
// Streams and data for the codec tests: a source that hands out bytes and
// records what it was asked for, a sink that keeps what it gets, and the
// corpus of kinds of data the round trips run over.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "install/codec/codec.h"

namespace qmtest {

// Hands out its bytes. Requests are summed, so a test sees whether the codec
// ever asked for more than the compressed size, and onRead runs before each
// read (a progress hook would sit there).
class CodecTestSource : public CodecSource {
 public:
  explicit CodecTestSource(std::string bytes) : bytes_(std::move(bytes)) {}

  std::size_t Read(void* buffer, std::size_t count) override {
    ++reads_;
    requested_ += count;
    readsAtEnd_ += taken_ == bytes_.size();
    if (onRead) onRead(reads_);
    const std::size_t n = std::min(count, bytes_.size() - taken_);
    std::memcpy(buffer, bytes_.data() + taken_, n);
    taken_ += n;
    return n;
  }

  std::size_t Requested() const { return requested_; }
  std::size_t Taken() const { return taken_; }
  // Reads made when nothing was left: a codec should stop asking at the end.
  int ReadsAtEnd() const { return readsAtEnd_; }

  std::function<void(int readNumber)> onRead;

 private:
  std::string bytes_;
  std::size_t taken_ = 0;
  std::size_t requested_ = 0;
  int reads_ = 0;
  int readsAtEnd_ = 0;
};

class CodecTestSink : public CodecSink {
 public:
  void Write(const void* buffer, std::size_t count) override {
    bytes_.append(static_cast<const char*>(buffer), count);
    writes_.push_back(count);
  }
  const std::string& Bytes() const { return bytes_; }
  const std::vector<std::size_t>& Writes() const { return writes_; }

 private:
  std::string bytes_;
  std::vector<std::size_t> writes_;
};

inline std::string Lh5Encode(const std::string& original) {
  std::unique_ptr<CCodec> codec = CreateCodec(kMethodLh5, 0);
  CodecTestSource source(original);
  CodecTestSink sink;
  codec->Encode(source, sink);
  return sink.Bytes();
}

// Decodes stream as an entry of originalSize bytes. The source holds
// trailing bytes after the stream, as an archive holds the next entry: the
// decoder must neither ask for them nor take them.
inline std::string Lh5Decode(const std::string& stream, std::size_t originalSize) {
  std::unique_ptr<CCodec> codec = CreateCodec(kMethodLh5, 0);
  CodecTestSource source(stream + std::string(64, '\x5A'));
  CodecTestSink sink;
  codec->Decode(source, sink, static_cast<uint32_t>(stream.size()), static_cast<uint32_t>(originalSize));
  EXPECT_EQ(source.Requested(), stream.size()) << "the decoder must request exactly the compressed bytes";
  EXPECT_EQ(source.Taken(), stream.size());
  EXPECT_FALSE(codec->IsAborted());
  return sink.Bytes();
}

// Compares long byte strings without printing them whole.
inline ::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  const auto diff = std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
  return ::testing::AssertionFailure() << "expected " << expected.size() << " bytes, got " << actual.size()
                                       << ", first difference at offset " << (diff.first - expected.begin());
}

// Deterministic test data.
class TestRandom {
 public:
  explicit TestRandom(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }

 private:
  std::uint64_t state_;
};

inline std::string RandomBytes(std::size_t size, std::uint64_t seed) {
  TestRandom rng(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(rng.Next() >> 56);
  return out;
}

// Prose from a small vocabulary: many matches of all lengths and distances.
inline std::string TestText(std::size_t size, std::uint64_t seed) {
  static const char* const kWords[] = {"label", "print",  "the",    "of",     "margin", "barcode", "sheet",
                                       "a",     "column", "layout", "design", "field",  "setup",   "install"};
  TestRandom rng(seed);
  std::string out;
  while (out.size() < size) {
    out += kWords[rng.Below(std::size(kWords))];
    out += rng.Below(9) == 0 ? ".\r\n" : " ";
  }
  out.resize(size);
  return out;
}

// Records of a binary file: counters, small numbers, padding, some noise.
inline std::string TestBinary(std::size_t size, std::uint64_t seed) {
  TestRandom rng(seed);
  std::string out;
  for (std::uint32_t i = 0; out.size() < size; ++i) {
    const std::uint32_t fields[4] = {i, 0x00401000u + 16 * i, static_cast<std::uint32_t>(rng.Below(300)),
                                     static_cast<std::uint32_t>(rng.Next())};
    out.append(reinterpret_cast<const char*>(fields), sizeof fields);
    out.append(4 + rng.Below(12), '\0');
  }
  out.resize(size);
  return out;
}

// Runs of a few byte values, short and long.
inline std::string TestRuns(std::size_t size, std::uint64_t seed) {
  TestRandom rng(seed);
  std::string out;
  while (out.size() < size) out.append(1 + rng.Below(600), static_cast<char>("\0 AZ\xFF"[rng.Below(5)]));
  out.resize(size);
  return out;
}

struct TestCorpusFile {
  std::string name;
  std::string data;
};

// The kinds of data a codec meets, at the sizes where its edges lie: empty,
// one byte, one chunk exactly and one byte more, and a few megabytes mixed.
inline std::vector<TestCorpusFile> TestCorpus() {
  std::string mixed;
  for (std::uint64_t piece = 0; mixed.size() < 3'000'000; ++piece) {
    switch (piece % 5) {
      case 0: mixed += TestText(90'000, piece); break;
      case 1: mixed += TestBinary(70'000, piece); break;
      case 2: mixed += TestRuns(40'000, piece); break;
      case 3: mixed += RandomBytes(20'000, piece); break;
      default: mixed += TestText(5'000, piece) + TestBinary(5'000, piece); break;
    }
  }
  return {
      {"empty", ""},
      {"one byte", "Q"},
      {"two equal bytes", "zz"},
      {"text", TestText(200'000, 1)},
      {"binary", TestBinary(150'000, 2)},
      {"runs", TestRuns(120'000, 3)},
      {"random", RandomBytes(100'000, 4)},
      {"one chunk", TestText(8192, 5)},
      {"one chunk and a byte", TestText(8193, 6)},
      {"one byte value", std::string(70'000, '\x07')},
      {"mixed", mixed},
  };
}

}  // namespace qmtest
