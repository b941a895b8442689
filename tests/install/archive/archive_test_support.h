#pragma once
// Shared by the archive tests: a temporary emulated machine, Windows names for
// host files, and archives assembled byte by byte.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <utility>

#include "install/archive/archive_entry_header.h"
#include "install/codec/codec.h"
#include "platform/fs/path_map.h"
#include "tests/common/temp_dir.h"
#include "tests/common/temp_machine.h"

namespace archive_test {

namespace fs = std::filesystem;

class ArchiveTest : public ::testing::Test {
 protected:
  ArchiveTest() { fs::create_directories(machine_.Root() / "work"); }

  // The Windows name (through Z:) of a file in the test's directory.
  std::string Win(const std::string& name) const { return platform::MapToWindows(Host(name)); }
  fs::path Host(const std::string& name) const { return machine_.Root() / "work" / name; }

  void WriteHost(const std::string& name, const std::string& bytes) const { qmtest::WriteFileText(Host(name), bytes); }
  std::string ReadHost(const std::string& name) const { return qmtest::ReadFileText(Host(name)); }

  qmtest::TempMachineRoot machine_;
};

inline std::string ArchiveHeaderBytes() { return std::string("mflh\0\0\0\0", 8); }

struct EntryRecipe {
  std::string name = "FILE.TXT";
  std::string data;           // the bytes after the header
  int64_t uncompressed = -1;  // -1: data's size
  int64_t compressed = -1;    // -1: data's size
  uint32_t checksum = 0;
  uint32_t method = kMethodStored;
  uint32_t time = 0;
  uint16_t attributes = 0;
  int16_t destination = 0;
  int16_t continued = 0;

  // Chained settings, since designated initializers that leave fields out warn.
  EntryRecipe& Name(std::string value) { name = std::move(value); return *this; }
  EntryRecipe& Data(std::string value) { data = std::move(value); return *this; }
  EntryRecipe& Uncompressed(int64_t value) { uncompressed = value; return *this; }
  EntryRecipe& Compressed(int64_t value) { compressed = value; return *this; }
  EntryRecipe& Checksum(uint32_t value) { checksum = value; return *this; }
  EntryRecipe& Method(uint32_t value) { method = value; return *this; }
  EntryRecipe& Time(uint32_t value) { time = value; return *this; }
  EntryRecipe& Attributes(uint16_t value) { attributes = value; return *this; }
};

inline EntryRecipe Entry(std::string name, std::string data) { return EntryRecipe().Name(std::move(name)).Data(std::move(data)); }

inline std::string EntryHeaderBytes(const EntryRecipe& entry) {
  ArchiveEntryHeader header;
  header.SetName(entry.name);
  header.SetUncompressedSize(static_cast<uint32_t>(entry.uncompressed < 0 ? entry.data.size() : entry.uncompressed));
  header.SetCompressedSize(static_cast<uint32_t>(entry.compressed < 0 ? entry.data.size() : entry.compressed));
  header.SetChecksum(entry.checksum);
  header.SetMethod(entry.method);
  header.SetFileTime(entry.time);
  header.SetAttributes(entry.attributes);
  header.SetDestinationId(entry.destination);
  header.SetContinued(entry.continued);
  return std::string(reinterpret_cast<const char*>(header.Raw().data()), header.Raw().size());
}

inline std::string EntryBytes(const EntryRecipe& entry) { return EntryHeaderBytes(entry) + entry.data; }

// Bytes that compress a little: words with some noise, reproducible by seed.
inline std::string SampleBytes(std::size_t size, unsigned seed) {
  static const char* const kWords[] = {"label ", "design ", "setup ", "archive ", "\r\n", "volume ", "0123 "};
  std::mt19937 random(seed);
  std::string bytes;
  bytes.reserve(size + 16);
  while (bytes.size() < size) {
    if (random() % 4 == 0) {
      bytes.push_back(static_cast<char>(random()));
    } else {
      bytes += kWords[random() % 7];
    }
  }
  bytes.resize(size);
  return bytes;
}

}  // namespace archive_test
