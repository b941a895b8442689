// The -lh5- decoder on damaged streams: every broken code table ends in
// "corrupt table" (CMultiFileException code 4) before a byte of its block is
// written, and no stream at all makes it read or write out of bounds.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "install/codec/codec.h"
#include "install/errors/multi_file_exception.h"
#include "install/errors/xexception.h"
#include "tests/install/codec/codec_lh5_stream_builder.h"
#include "tests/install/codec/codec_test_support.h"

namespace {

using qmtest::CodecTestSink;
using qmtest::CodecTestSource;
using qmtest::Lh5StreamBuilder;

constexpr std::size_t kChunk = 8192;

// A first block of 8192 constant 'A's: one whole chunk, which is written
// before the damaged second block is read.
Lh5StreamBuilder AfterOneGoodChunk() {
  Lh5StreamBuilder b;
  b.Bits(16, kChunk).ConstantTable(5, 0).ConstantTable(9, 'A').ConstantTable(4, 0);
  b.Bits(16, 100);  // the damaged block's symbol count
  return b;
}

void ExpectCorruptTable(const Lh5StreamBuilder& b) {
  auto codec = CreateCodec(kMethodLh5, 0);
  CodecTestSource source(b.Bytes());
  CodecTestSink sink;
  try {
    codec->Decode(source, sink, static_cast<uint32_t>(b.Bytes().size()), kChunk + 100);
    ADD_FAILURE() << "the damaged table was accepted";
  } catch (const CMultiFileException& e) {
    EXPECT_EQ(e.Code(), CMultiFileException::kCorruptTable);
  }
  EXPECT_EQ(sink.Bytes(), std::string(kChunk, 'A')) << "only the chunk before the damaged block is written";
}

// A code-length code for zeros and length 1 (one bit each).
const std::vector<int> kZeroOrOne = {1, 0, 0, 1};

TEST(Lh5DecoderDamage, CodeLengthCodeThatIsNotACompletePrefixCode) {
  {
    SCOPED_TRACE("incomplete: lengths 1 and 2");
    auto b = AfterOneGoodChunk();
    b.PtTable(5, {1, 2}, 3);
    ExpectCorruptTable(b);
  }
  {
    SCOPED_TRACE("oversubscribed: three codes of one bit");
    auto b = AfterOneGoodChunk();
    b.PtTable(5, {1, 1, 1}, 3);
    ExpectCorruptTable(b);
  }
  {
    SCOPED_TRACE("oversubscribed twice over, which 16-bit arithmetic would take for complete");
    auto b = AfterOneGoodChunk();
    b.PtTable(5, {1, 1, 1, 1}, 3);
    ExpectCorruptTable(b);
  }
  {
    SCOPED_TRACE("complete only with a length of 17");
    auto b = AfterOneGoodChunk();
    b.PtTable(5, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 17}, 3);
    ExpectCorruptTable(b);
  }
  {
    SCOPED_TRACE("more lengths than symbols");
    auto b = AfterOneGoodChunk();
    b.Bits(5, 20);
    ExpectCorruptTable(b);
  }
  {
    SCOPED_TRACE("a constant symbol outside the alphabet, then used");
    auto b = AfterOneGoodChunk();
    b.ConstantTable(5, 19).Bits(9, 3);
    ExpectCorruptTable(b);
  }
}

TEST(Lh5DecoderDamage, LiteralLengthCodeThatIsNotACompletePrefixCode) {
  {
    SCOPED_TRACE("incomplete: a single code of one bit");
    auto b = AfterOneGoodChunk();
    b.PtTable(5, kZeroOrOne, 3).CLengths({1}, kZeroOrOne);
    ExpectCorruptTable(b);
  }
  {
    SCOPED_TRACE("oversubscribed");
    auto b = AfterOneGoodChunk();
    b.PtTable(5, kZeroOrOne, 3).CLengths({1, 1, 1}, kZeroOrOne);
    ExpectCorruptTable(b);
  }
  {
    SCOPED_TRACE("more lengths than symbols");
    auto b = AfterOneGoodChunk();
    b.PtTable(5, kZeroOrOne, 3).Bits(9, 511);
    ExpectCorruptTable(b);
  }
  {
    SCOPED_TRACE("a run of zero lengths past the last symbol");
    const std::vector<int> runOrOne = {0, 0, 1, 1};  // code-length symbols 2 (20.. zeros) and 3 (length 1)
    auto b = AfterOneGoodChunk();
    b.PtTable(5, runOrOne, 3).Bits(9, 510).Symbol(runOrOne, 3).Symbol(runOrOne, 2).Bits(9, 511);
    ExpectCorruptTable(b);
  }
  for (std::uint32_t symbol : {510u, 511u}) {
    SCOPED_TRACE("a constant symbol outside the alphabet: " + std::to_string(symbol));
    auto b = AfterOneGoodChunk();
    b.ConstantTable(5, 0).ConstantTable(9, symbol).ConstantTable(4, 0);
    ExpectCorruptTable(b);
  }
}

TEST(Lh5DecoderDamage, DistanceCodeThatIsNotACompletePrefixCode) {
  auto literalBlock = [] {
    auto b = AfterOneGoodChunk();
    b.ConstantTable(5, 0).ConstantTable(9, 256);  // every symbol a match of length 3
    return b;
  };
  {
    SCOPED_TRACE("incomplete");
    auto b = literalBlock();
    b.PtTable(4, {1, 2}, -1);
    ExpectCorruptTable(b);
  }
  {
    SCOPED_TRACE("oversubscribed");
    auto b = literalBlock();
    b.PtTable(4, {2, 2, 2, 2, 2}, -1);
    ExpectCorruptTable(b);
  }
  {
    SCOPED_TRACE("more lengths than classes");
    auto b = literalBlock();
    b.Bits(4, 15);
    ExpectCorruptTable(b);
  }
  {
    SCOPED_TRACE("a constant class outside the alphabet, used by a match");
    auto b = literalBlock();
    b.ConstantTable(4, 14);
    ExpectCorruptTable(b);
  }
}

TEST(Lh5DecoderDamage, AnOutOfRangeConstantThatIsNeverUsedIsHarmless) {
  Lh5StreamBuilder b;
  b.Bits(16, 4).ConstantTable(5, 0).ConstantTable(9, 'k').ConstantTable(4, 15);
  EXPECT_EQ(qmtest::Lh5Decode(b.Bytes(), 4), "kkkk");
}

// Whatever the bytes, a decode ends with exactly the size asked for, with
// code 4, or with the end-of-file error once it takes bits past the data; the
// sanitizer build checks that no access leaves its array.
void ExpectExactSizeOrCorruptTable(const std::string& stream, std::uint32_t size) {
  auto codec = CreateCodec(kMethodLh5, 0);
  CodecTestSource source(stream);
  CodecTestSink sink;
  try {
    codec->Decode(source, sink, static_cast<uint32_t>(stream.size()), size);
    EXPECT_EQ(sink.Bytes().size(), size);
  } catch (const CMultiFileException& e) {
    EXPECT_EQ(e.Code(), CMultiFileException::kCorruptTable);
    EXPECT_LE(sink.Bytes().size(), size);
  } catch (const CXFileException& e) {
    EXPECT_EQ(e.Code(), static_cast<int>(platform::FileCause::EndOfFile));
    EXPECT_LE(sink.Bytes().size(), size);
  }
  EXPECT_LE(source.Requested(), stream.size());
}

// A damaged header may give an entry any size: a decoder that read on in zero
// bits would write up to 4 GB before a checksum could say so. Once it takes
// bits past the data, whether cut or merely too short for the size, it stops.
TEST(Lh5DecoderDamage, DataThatRunsOutEndsInEndOfFileWithLittleWritten) {
  const std::string original = qmtest::TestText(30'000, 3);
  const std::string stream = qmtest::Lh5Encode(original);
  struct Case {
    const char* what;
    std::size_t cut;
    std::uint32_t size;
  };
  const Case cases[] = {
      {"the whole stream, a size of 2 GB", stream.size(), 0x80000000u},
      {"the whole stream, a size of 4 GB", stream.size(), 0xFFFFFFFFu},
      {"half the stream, its own size", stream.size() / 2, static_cast<std::uint32_t>(original.size())},
      {"no data at all, a size of 2 GB", 0, 0x80000000u},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto codec = CreateCodec(kMethodLh5, 0);
    CodecTestSource source(stream.substr(0, c.cut));
    CodecTestSink sink;
    try {
      codec->Decode(source, sink, static_cast<uint32_t>(c.cut), c.size);
      ADD_FAILURE() << "decoded " << sink.Bytes().size() << " bytes";
    } catch (const CXFileException& e) {
      EXPECT_EQ(e.Code(), static_cast<int>(platform::FileCause::EndOfFile));
    }
    EXPECT_LE(sink.Bytes().size(), original.size() + (1u << 20));
  }
  // The exact size still decodes, padding and all.
  EXPECT_TRUE(qmtest::SameBytes(original, qmtest::Lh5Decode(stream, original.size())));
}

TEST(Lh5DecoderDamage, RandomBytesNeverBreakTheDecoder) {
  qmtest::TestRandom rng(99);
  for (int i = 0; i < 3000; ++i) {
    const std::string stream = qmtest::RandomBytes(rng.Below(200), rng.Next());
    ExpectExactSizeOrCorruptTable(stream, static_cast<std::uint32_t>(rng.Below(40'000)));
  }
}

TEST(Lh5DecoderDamage, DamagedRealStreamsNeverBreakTheDecoder) {
  const std::string original = qmtest::TestText(30'000, 1) + qmtest::TestBinary(20'000, 2);
  const std::string stream = qmtest::Lh5Encode(original);
  qmtest::TestRandom rng(7);
  for (int i = 0; i < 400; ++i) {
    std::string damaged = stream;
    for (std::size_t flips = 1 + rng.Below(4); flips > 0; --flips) {
      damaged[rng.Below(damaged.size())] ^= static_cast<char>(1u << rng.Below(8));
    }
    ExpectExactSizeOrCorruptTable(damaged, static_cast<std::uint32_t>(original.size()));
  }
}

}  // namespace
