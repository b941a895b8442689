// The codec factory and the stored method: a plain copy that never reads
// beyond the entry's bytes and reports data that ends early as end of file.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "install/codec/codec.h"
#include "install/codec/lh5_codec.h"
#include "install/codec/stored_codec.h"
#include "install/errors/xexception.h"
#include "platform/core/file_cause.h"
#include "tests/install/codec/codec_test_support.h"

namespace {

using qmtest::CodecTestSink;
using qmtest::CodecTestSource;

TEST(CreateCodec, KnowsStoredAndLh5Only) {
  EXPECT_NE(dynamic_cast<CStoredCodec*>(CreateCodec(kMethodStored, 0).get()), nullptr);
  EXPECT_NE(dynamic_cast<CLh5Codec*>(CreateCodec(kMethodLh5, 77).get()), nullptr);
  for (uint32_t method : {0u, 1u, 4u, 5u, 0xFFFFFFFFu}) EXPECT_EQ(CreateCodec(method, 0), nullptr) << method;
}

TEST(StoredCodec, CopiesExactlyTheEntryInPiecesOfAtMost16384Bytes) {
  const std::string data = qmtest::RandomBytes(40'000, 1);
  auto codec = CreateCodec(kMethodStored, 0);
  CodecTestSource source(data + "next entry");
  CodecTestSink sink;
  codec->Decode(source, sink, static_cast<uint32_t>(data.size()), static_cast<uint32_t>(data.size()));
  EXPECT_EQ(sink.Bytes(), data);
  EXPECT_EQ(sink.Writes(), (std::vector<std::size_t>{16384, 16384, 40'000 - 2 * 16384}));
  EXPECT_EQ(source.Requested(), data.size());

  CodecTestSource plain(data);
  CodecTestSink encoded;
  codec->Encode(plain, encoded);
  EXPECT_EQ(encoded.Bytes(), data);
}

TEST(StoredCodec, DataEndingEarlyIsTheEndOfFileError) {
  const std::string data = qmtest::RandomBytes(20'000, 2);
  auto codec = CreateCodec(kMethodStored, 0);
  CodecTestSource source(data.substr(0, 17'000));
  CodecTestSink sink;
  try {
    codec->Decode(source, sink, static_cast<uint32_t>(data.size()), static_cast<uint32_t>(data.size()));
    ADD_FAILURE() << "a short entry was accepted";
  } catch (const CXFileException& e) {
    EXPECT_EQ(e.Code(), static_cast<int32_t>(platform::FileCause::EndOfFile));
  }
  EXPECT_EQ(sink.Bytes(), data.substr(0, 17'000));
}

TEST(StoredCodec, NeverReadsPastTheCompressedSize) {
  // An entry that claims more content than it holds bytes: what follows is
  // the next entry's header, not this entry's data.
  const std::string data = qmtest::RandomBytes(10'000, 3);
  auto codec = CreateCodec(kMethodStored, 0);
  CodecTestSource source(data);
  CodecTestSink sink;
  EXPECT_THROW(codec->Decode(source, sink, 6'000, 10'000), CXFileException);
  EXPECT_EQ(source.Requested(), 6'000u);
  EXPECT_EQ(sink.Bytes(), data.substr(0, 6'000));
}

TEST(StoredCodec, PassesOverBytesBeyondTheContent) {
  const std::string data = qmtest::RandomBytes(10'000, 4);
  auto codec = CreateCodec(kMethodStored, 0);
  CodecTestSource source(data + "tail");
  CodecTestSink sink;
  codec->Decode(source, sink, 10'000, 9'000);
  EXPECT_EQ(sink.Bytes(), data.substr(0, 9'000));
  EXPECT_EQ(source.Taken(), 10'000u) << "the source stands at the next entry";
}

TEST(StoredCodec, AbortStopsTheCopy) {
  const std::string data = qmtest::RandomBytes(100'000, 5);
  auto codec = CreateCodec(kMethodStored, 0);
  CodecTestSource source(data);
  source.onRead = [&](int readNumber) {
    if (readNumber == 2) codec->Abort();
  };
  CodecTestSink sink;
  codec->Decode(source, sink, static_cast<uint32_t>(data.size()), static_cast<uint32_t>(data.size()));
  EXPECT_TRUE(codec->IsAborted());
  EXPECT_EQ(sink.Bytes(), data.substr(0, 2 * 16384));
}

TEST(StoredCodec, AnEmptyEntryReadsNothing) {
  auto codec = CreateCodec(kMethodStored, 0);
  CodecTestSource source("abc");
  CodecTestSink sink;
  codec->Decode(source, sink, 0, 0);
  EXPECT_EQ(source.Requested(), 0u);
  EXPECT_TRUE(sink.Bytes().empty());
}

}  // namespace
