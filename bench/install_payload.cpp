#include "bench/install_payload.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <stdexcept>

namespace install_bench {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBlock = 64 * 1024;
constexpr std::size_t kFlushAt = 1024 * 1024;
constexpr std::size_t kRecordWidth = 32;

constexpr std::array<const char*, 32> kWords = {
    "label",  "design", "print",   "sheet",  "address", "barcode", "font",    "border",
    "merge",  "field",  "record",  "column", "page",    "margin",  "the",     "a",
    "of",     "to",     "and",     "with",   "each",    "every",   "setting", "window",
    "select", "text",   "picture", "frame",  "size",    "width",   "height",  "printer"};

// Writes whole buffers, restarting after short writes.
class OutputFile {
 public:
  explicit OutputFile(const fs::path& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd_ < 0) throw std::runtime_error("cannot create " + path.string());
  }
  ~OutputFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void Write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n <= 0) throw std::runtime_error("cannot write " + path_.string());
      done += static_cast<std::size_t>(n);
    }
  }
  void Close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw std::runtime_error("cannot close " + path_.string());
  }

 private:
  fs::path path_;
  int fd_ = -1;
};

void AppendRandom(Random& random, std::string& out, std::size_t count) {
  for (std::size_t i = 0; i < count; i += 8) {
    const uint64_t value = random.Next();
    for (std::size_t b = 0; b < 8 && i + b < count; ++b) out.push_back(static_cast<char>(value >> (8 * b)));
  }
}

// Records of a price list: a counter, a code from a small set, padding.
void AppendRecords(Random& random, std::string& out, std::size_t count, uint64_t& serial) {
  const std::size_t end = out.size() + count;
  while (out.size() < end) {
    char record[48];
    std::snprintf(record, sizeof record, "%010llu;ITEM%03u;%6u.%02u;  \n",
                  static_cast<unsigned long long>(serial++), random.Below(200), random.Below(5000), random.Below(100));
    out.append(record, std::min(kRecordWidth, end - out.size()));
  }
}

}  // namespace

void AppendText(Random& random, std::string& out, std::size_t count) {
  const std::size_t end = out.size() + count;
  std::size_t lineStart = out.size();
  while (out.size() < end) {
    if (out.size() - lineStart > 60 + random.Below(12)) {
      out += "\r\n";
      lineStart = out.size();
    } else {
      if (out.size() != lineStart) out.push_back(' ');
      out += kWords[random.Below(kWords.size())];
    }
  }
  out.resize(end);
}

std::string DirectoryName(int n) {
  char name[8];
  std::snprintf(name, sizeof name, "D%02d", n);
  return name;
}

Payload WriteSmallFiles(const fs::path& directory, const PayloadShape& shape) {
  Random random(0x51CA1EF11E5ull);
  Payload payload;
  std::string bytes;
  for (int d = 1; d <= shape.directories; ++d) fs::create_directories(directory / DirectoryName(d));
  for (int i = 1; i <= shape.smallFiles; ++i) {
    const int d = 1 + (i - 1) % shape.directories;
    char name[16];
    std::snprintf(name, sizeof name, "F%05d.TXT", i);
    const uint32_t size = shape.smallMin + random.Below(shape.smallMax - shape.smallMin + 1);
    bytes.clear();
    AppendText(random, bytes, size);
    const std::string relative = DirectoryName(d) + "/" + name;
    OutputFile out(directory / relative);
    out.Write(bytes);
    out.Close();
    payload.files.push_back({relative, d, size});
    payload.totalBytes += size;
  }
  return payload;
}

void WriteBigFile(const fs::path& path, uint64_t bigBytes, uint64_t seed) {
  Random random(seed);
  OutputFile out(path);
  std::string buffer;
  buffer.reserve(kFlushAt + kBlock);
  uint64_t serial = 0;
  for (uint64_t written = 0; written < bigBytes;) {
    const std::size_t count = static_cast<std::size_t>(std::min<uint64_t>(kBlock, bigBytes - written));
    switch (random.Below(4)) {
      case 0:
      case 1: AppendText(random, buffer, count); break;
      case 2: AppendRandom(random, buffer, count); break;
      default: AppendRecords(random, buffer, count, serial); break;
    }
    written += count;
    if (buffer.size() >= kFlushAt) {
      out.Write(buffer);
      buffer.clear();
    }
  }
  out.Write(buffer);
  out.Close();
}

}  // namespace install_bench
