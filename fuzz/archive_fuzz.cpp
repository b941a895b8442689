// libFuzzer target of the archive reader: any bytes as the first volume of an
// archive. Each input is opened twice: once surveyed (every entry header read
// with seeking, as the space totals do), once extracted sequentially (every
// entry decoded into memory, as the file copy does, following a continued
// entry into a fixed second volume that LLVMFuzzerInitialize writes). The
// product's exceptions are expected outcomes. A sink checks what the reader
// promises; a broken promise aborts, which libFuzzer reports:
// - no entry receives more than its uncompressed size;
// - an extraction that returns has delivered exactly that size, and a nonzero
//   recorded checksum matches the bytes delivered.

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "fuzz/archive_fuzz_samples.h"
#include "install/archive/archive_checksum.h"
#include "install/archive/archive_reader.h"
#include "install/archive/archive_volume_reader.h"
#include "platform/core/exceptions.h"
#include "platform/fs/path_map.h"
#include "platform/machine/machine.h"

namespace {

namespace fs = std::filesystem;

// Output beyond this per input is not decoded: a damaged -lh5- header may ask
// for gigabytes from a few bytes (a table sent as one symbol costs no bits), and
// a fuzzer input must stay fast. The bound check below runs before the cap.
constexpr uint64_t kOutputCap = 256u << 10;

fs::path g_root;
fs::path g_input;            // host path of the volume each input is written to
std::string g_inputWindows;  // its Windows name

struct OutputCapReached {};

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "archive reader promise broken: %s\n", what);
    std::abort();
  }
}

void RemoveRoot() {
  std::error_code ignored;
  fs::remove_all(g_root, ignored);
}

class CheckingSink : public CodecSink {
 public:
  CheckingSink(uint64_t limit, uint64_t& total) : limit_(limit), total_(total) {}

  void Write(const void* buffer, std::size_t count) override {
    Check(count <= limit_ - written_, "an entry received more than its uncompressed size");
    written_ += count;
    checksum_ = ArchiveChecksum(buffer, count, checksum_);
    total_ += count;
    if (total_ > kOutputCap) throw OutputCapReached{};
  }

  uint64_t Written() const { return written_; }
  uint32_t Checksum() const { return checksum_; }

 private:
  uint64_t limit_;
  uint64_t& total_;
  uint64_t written_ = 0;
  uint32_t checksum_ = 0;
};

// The copy's reader cancels from its progress hook; some inputs do the same
// after a few segments, so that the abort path runs too. Segments shorter than
// the copy's 4096 bytes let small inputs reach the hook, and cut the counting
// read's pieces in other places.
class FuzzReader : public CVolumeArchiveReader {
 public:
  FuzzReader(uint32_t segmentSize, int abortAfterSegments) : abortAfter_(abortAfterSegments) {
    SetSegmentSize(segmentSize);
  }

 protected:
  void OnSegment() override {
    if (abortAfter_ > 0 && --abortAfter_ == 0) Abort();
  }

 private:
  int abortAfter_;
};

void Survey() {
  CArchiveReader reader;
  reader.OpenArchive(g_inputWindows);
  std::unique_ptr<CArchiveEntry> entry = reader.CreateEntry();
  while (reader.NextEntry(*entry, true)) {
    // What a listing shows.
    const ArchiveEntryHeader& header = entry->Header();
    volatile std::size_t sink = entry->GetFileName().size() + header.UncompressedSize() + header.CompressedSize() +
                                header.Method() + static_cast<uint16_t>(header.DestinationId()) +
                                header.Attributes() + static_cast<uint16_t>(header.Continued());
    (void)sink;
  }
}

void ExtractAll(uint32_t segmentSize, int abortAfterSegments) {
  FuzzReader reader(segmentSize, abortAfterSegments);
  reader.OpenArchive(g_inputWindows);
  std::unique_ptr<CArchiveEntry> entry = reader.CreateEntry();
  uint64_t total = 0;
  while (reader.NextEntry(*entry, false)) {
    const ArchiveEntryHeader& header = entry->Header();
    CheckingSink sink(header.UncompressedSize(), total);
    reader.ExtractTo(*entry, sink);  // an exception ends the archive, as in the copy
    Check(sink.Written() == header.UncompressedSize(), "an extraction succeeded with fewer bytes than its size");
    Check(header.Checksum() == 0 || header.Checksum() == sink.Checksum(),
          "an extraction succeeded although the checksum differs");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (fs::temp_directory_path() / "qm-archive-fuzz-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  g_root = pattern;
  std::atexit(RemoveRoot);
  platform::UseMachine(g_root / "machine");
  try {
    archive_fuzz::WriteSeedArchives(g_root / "samples");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "archive fuzz: cannot write the sample archives: %s\n", error.what());
    std::abort();
  }
  fs::create_directories(g_root / "work");
  // Every input is volume 1; a continued entry finds this volume 2.
  fs::copy_file(g_root / "samples" / "SPLIT" / "SPLIT.2", g_root / "work" / "FUZZ.2");
  g_input = g_root / "work" / "FUZZ.1";
  g_inputWindows = platform::MapToWindows(g_input);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  {
    std::ofstream out(g_input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out.flush()) std::abort();
  }
  // The input's size picks the segment size (4096, 1024, 256 or 64 bytes), and
  // every third input cancels after one to eight segments.
  const uint32_t segmentSize = 4096u >> (2 * (size % 4));
  const int abortAfter = size > 0 && size % 3 == 0 ? 1 + data[size - 1] % 8 : 0;
  try {
    Survey();
  } catch (const platform::Exception&) {
  }
  try {
    ExtractAll(segmentSize, abortAfter);
  } catch (const platform::Exception&) {
  } catch (const OutputCapReached&) {
  }
  return 0;
}
