// The -lh5- codec: round trips over every kind of data, and the decoder on
// hand-made streams where the format has its corners: constant tables, a
// match across a chunk end, distances before the first byte, the compressed
// size as a hard budget, truncation and abort.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "install/codec/codec.h"
#include "install/codec/lh5_huffman_code.h"
#include "install/errors/multi_file_exception.h"
#include "install/errors/xexception.h"
#include "tests/install/codec/codec_lh5_stream_builder.h"
#include "tests/install/codec/codec_test_support.h"

namespace {

using qmtest::CodecTestSink;
using qmtest::CodecTestSource;
using qmtest::Lh5Decode;
using qmtest::Lh5Encode;
using qmtest::Lh5StreamBuilder;
using qmtest::SameBytes;

constexpr int kLengthSymbolBase = 253;  // the symbol for a match of length n is n + 253

TEST(Lh5Codec, RoundTripsEveryKindOfData) {
  for (const auto& file : qmtest::TestCorpus()) {
    SCOPED_TRACE(file.name);
    const std::string stream = Lh5Encode(file.data);
    EXPECT_TRUE(SameBytes(file.data, Lh5Decode(stream, file.data.size())));
  }
}

TEST(Lh5Codec, AnEmptyFileGivesAnEmptyStream) {
  // Not a block of zero symbols: a count of 0 stands for 65536, and some
  // decoders refuse such a block outright.
  EXPECT_EQ(Lh5Encode(""), "");
  EXPECT_EQ(Lh5Decode("", 0), "");
}

TEST(Lh5Codec, OutputComesInWholeChunks) {
  const std::string original = qmtest::TestText(3 * 8192 + 100, 7);
  const std::string stream = Lh5Encode(original);
  auto codec = CreateCodec(kMethodLh5, 0);
  CodecTestSource source(stream);
  CodecTestSink sink;
  codec->Decode(source, sink, static_cast<uint32_t>(stream.size()), static_cast<uint32_t>(original.size()));
  EXPECT_EQ(sink.Writes(), (std::vector<std::size_t>{8192, 8192, 8192, 100}));
}

// A broken match finder or block coder still round-trips; these bounds catch it.
TEST(Lh5Codec, CompressesWhatIsCompressible) {
  const std::string text = qmtest::TestText(300'000, 11);
  const std::string runs = qmtest::TestRuns(300'000, 12);
  const std::string random = qmtest::RandomBytes(300'000, 13);
  EXPECT_LT(Lh5Encode(text).size(), text.size() * 35 / 100);
  EXPECT_LT(Lh5Encode(runs).size(), runs.size() / 50);
  EXPECT_LT(Lh5Encode(random).size(), random.size() + random.size() / 100);
}

TEST(Lh5Codec, CodeLengthsAreLimitedToSixteenBits) {
  // Fibonacci frequencies make an unlimited Huffman code 29 bits deep.
  std::vector<std::uint32_t> freq(30);
  freq[0] = freq[1] = 1;
  for (std::size_t i = 2; i < freq.size(); ++i) freq[i] = freq[i - 1] + freq[i - 2];
  std::vector<std::uint8_t> lengths(freq.size());
  lh5::BuildCodeLengths(freq.data(), static_cast<int>(freq.size()), 16, lengths.data());
  std::uint64_t kraft = 0;
  for (std::uint8_t len : lengths) {
    ASSERT_GE(len, 1);
    ASSERT_LE(len, 16);
    kraft += std::uint64_t{1} << (16 - len);
  }
  EXPECT_EQ(kraft, std::uint64_t{1} << 16) << "the limited code must stay complete";

  // The same skew in a file: bytes in random order with those frequencies.
  std::string data;
  for (std::size_t i = 0; i < 22; ++i) data.append(freq[i], static_cast<char>('a' + i));
  qmtest::TestRandom rng(5);
  for (std::size_t i = data.size(); i > 1; --i) std::swap(data[i - 1], data[rng.Below(i)]);
  EXPECT_TRUE(SameBytes(data, Lh5Decode(Lh5Encode(data), data.size())));
}

TEST(Lh5Decoder, ConstantTablesGiveTheirSymbolWithoutUsingBits) {
  // Two blocks of constant tables back to back: if a symbol consumed any bit,
  // the second block header would be read from the wrong place.
  Lh5StreamBuilder b;
  b.Bits(16, 5).ConstantTable(5, 0).ConstantTable(9, 'A').ConstantTable(4, 0);
  b.Bits(16, 3).ConstantTable(5, 0).ConstantTable(9, 'B').ConstantTable(4, 0);
  EXPECT_EQ(Lh5Decode(b.Bytes(), 8), "AAAAABBB");
}

TEST(Lh5Decoder, BlockCountOfZeroMeans65536Symbols) {
  Lh5StreamBuilder b;
  b.Bits(16, 0).ConstantTable(5, 0).ConstantTable(9, 'z').ConstantTable(4, 0);
  b.Bits(16, 1).ConstantTable(5, 0).ConstantTable(9, '!').ConstantTable(4, 0);
  EXPECT_EQ(Lh5Decode(b.Bytes(), 65537), std::string(65536, 'z') + "!");
}

// The literal/length code of the hand-made blocks below: 'x' (1 bit), 'y' and
// a match of length 200 (2 bits each), sent through a code-length code of
// zeros (1 bit) and the lengths 1 and 2 (2 bits each).
struct SmallCode {
  std::vector<int> c = std::vector<int>(kLengthSymbolBase + 200 + 1, 0);
  std::vector<int> t = {1, 0, 0, 2, 2};
  SmallCode() {
    c['x'] = 1;
    c['y'] = 2;
    c[kLengthSymbolBase + 200] = 2;
  }
  void Header(Lh5StreamBuilder& b, std::uint32_t symbols, std::uint32_t distanceClass) const {
    b.Bits(16, symbols).PtTable(5, t, 3).CLengths(c, t).ConstantTable(4, distanceClass);
  }
};

TEST(Lh5Decoder, MatchCrossingAChunkEndGoesOnInTheNextChunk) {
  const SmallCode code;
  Lh5StreamBuilder b;
  constexpr std::uint32_t kLiterals = 8192 - 100;
  code.Header(b, kLiterals + 1, 7);  // class 7: distances 64..127, 6 extra bits
  std::string expected;
  qmtest::TestRandom rng(3);
  for (std::uint32_t i = 0; i < kLiterals; ++i) {
    const char c = rng.Below(3) == 0 ? 'y' : 'x';
    b.Symbol(code.c, static_cast<unsigned char>(c));
    expected += c;
  }
  b.Symbol(code.c, kLengthSymbolBase + 200).Bits(6, 37);  // distance 64 + 37: copy from 102 back
  for (int i = 0; i < 200; ++i) expected += expected[expected.size() - 102];

  auto codec = CreateCodec(kMethodLh5, 0);
  CodecTestSource source(b.Bytes());
  CodecTestSink sink;
  codec->Decode(source, sink, static_cast<uint32_t>(b.Bytes().size()), static_cast<uint32_t>(expected.size()));
  EXPECT_TRUE(SameBytes(expected, sink.Bytes()));
  EXPECT_EQ(sink.Writes(), (std::vector<std::size_t>{8192, 100}));
}

TEST(Lh5Decoder, DistancesBeforeTheFirstByteReadSpaces) {
  const SmallCode code;
  Lh5StreamBuilder b;
  code.Header(b, 4, 13);  // class 13: distances 4096..8191
  b.Symbol(code.c, 'x').Symbol(code.c, kLengthSymbolBase + 200).Bits(12, 4000);
  b.Symbol(code.c, 'y').Symbol(code.c, kLengthSymbolBase + 200).Bits(12, 4095);
  const std::string expected = "x" + std::string(200, ' ') + "y" + std::string(200, ' ');
  EXPECT_EQ(Lh5Decode(b.Bytes(), expected.size()), expected);
}

TEST(Lh5Decoder, WritesExactlyTheSizeItIsGiven) {
  const std::string original = qmtest::TestText(20'000, 21);
  const std::string stream = Lh5Encode(original);
  EXPECT_EQ(Lh5Decode(stream, 12'345), original.substr(0, 12'345));
  EXPECT_EQ(Lh5Decode(stream, 0), "");
  // Past the stream's content the decoder runs on zero bits; it still writes
  // exactly what it was asked for, or finds the table damaged.
  try {
    const std::string longer = Lh5Decode(stream, original.size() + 5000);
    EXPECT_EQ(longer.size(), original.size() + 5000);
    EXPECT_EQ(longer.substr(0, original.size()), original);
  } catch (const CMultiFileException& e) {
    EXPECT_EQ(e.Code(), CMultiFileException::kCorruptTable);
  }
}

TEST(Lh5Decoder, TruncatedStreamsNeverReadOnOrWriteMore) {
  const std::string original = qmtest::TestText(50'000, 22) + qmtest::TestBinary(30'000, 23);
  const std::string stream = Lh5Encode(original);
  for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{9}, stream.size() / 3,
                          stream.size() / 2, stream.size() - 1}) {
    SCOPED_TRACE(cut);
    auto codec = CreateCodec(kMethodLh5, 0);
    CodecTestSource source(stream);  // the bytes after the cut are there, but not the decoder's
    CodecTestSink sink;
    try {
      codec->Decode(source, sink, static_cast<uint32_t>(cut), static_cast<uint32_t>(original.size()));
      EXPECT_EQ(sink.Bytes().size(), original.size());
      EXPECT_NE(sink.Bytes(), original);
    } catch (const CMultiFileException& e) {
      EXPECT_EQ(e.Code(), CMultiFileException::kCorruptTable);
      EXPECT_LE(sink.Bytes().size(), original.size());
    } catch (const CXFileException& e) {
      // The decoder took bits past the data.
      EXPECT_EQ(e.Code(), static_cast<int>(platform::FileCause::EndOfFile));
      EXPECT_LE(sink.Bytes().size(), original.size());
    }
    EXPECT_LE(source.Requested(), cut);
  }
}

TEST(Lh5Decoder, ASourceThatEndsEarlyReadsAsZeroBitsAndIsNotAskedAgain) {
  const std::string original = qmtest::TestText(40'000, 24);
  const std::string stream = Lh5Encode(original);
  const std::string cut = stream.substr(0, stream.size() / 2);
  auto codec = CreateCodec(kMethodLh5, 0);
  CodecTestSource source(cut);
  CodecTestSink sink;
  try {
    // The entry claims the whole stream; the data stops halfway.
    codec->Decode(source, sink, static_cast<uint32_t>(stream.size()), static_cast<uint32_t>(original.size()));
    EXPECT_EQ(sink.Bytes().size(), original.size());
  } catch (const CMultiFileException& e) {
    EXPECT_EQ(e.Code(), CMultiFileException::kCorruptTable);
  } catch (const CXFileException& e) {
    EXPECT_EQ(e.Code(), static_cast<int>(platform::FileCause::EndOfFile));
  }
  EXPECT_EQ(source.Taken(), cut.size());
  EXPECT_LE(source.ReadsAtEnd(), 1);
}

TEST(Lh5Decoder, SlackAfterTheStreamIsReadAndDropped) {
  // An entry whose compressed size exceeds what its stream needs: the source
  // must still end up right after the entry, where the next one starts.
  const std::string original = qmtest::TestText(10'000, 25);
  const std::string stream = Lh5Encode(original) + std::string(5000, '\x33');
  EXPECT_EQ(Lh5Decode(stream, original.size()), original);
}

TEST(Lh5Decoder, AbortFromInsideTheSourceStopsEarly) {
  const std::string original = qmtest::TestText(400'000, 26) + qmtest::TestBinary(100'000, 27);
  const std::string stream = Lh5Encode(original);
  auto codec = CreateCodec(kMethodLh5, 0);
  CodecTestSource source(stream);
  source.onRead = [&](int readNumber) {
    if (readNumber == 3) codec->Abort();
  };
  CodecTestSink sink;
  codec->Decode(source, sink, static_cast<uint32_t>(stream.size()), static_cast<uint32_t>(original.size()));
  EXPECT_TRUE(codec->IsAborted());
  EXPECT_LT(sink.Bytes().size(), original.size() / 2);
  EXPECT_EQ(sink.Bytes(), original.substr(0, sink.Bytes().size())) << "what was written is the start of the file";
  EXPECT_LT(source.Requested(), stream.size()) << "an aborted run does not read on to the end";

  // The next run starts with the flag clear.
  EXPECT_TRUE(SameBytes(original, [&] {
    CodecTestSource again(stream);
    CodecTestSink out;
    codec->Decode(again, out, static_cast<uint32_t>(stream.size()), static_cast<uint32_t>(original.size()));
    EXPECT_FALSE(codec->IsAborted());
    return out.Bytes();
  }()));
}

}  // namespace
