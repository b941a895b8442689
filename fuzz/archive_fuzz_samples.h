#pragma once
// Small archives made by our writer: the seed corpus of the archive fuzz target
// (written by archive_fuzz_seeds) and the fixed second volume that the target
// offers every input (written by the target itself). Both come from here, so
// the second volume continues the seed that was cut from the same archive.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "install/archive/archive_writer.h"
#include "install/codec/codec.h"
#include "platform/fs/path_map.h"

namespace archive_fuzz {

namespace fs = std::filesystem;

// The split seed takes two volumes of this size whatever the compressor makes of
// its text: its random bytes alone fill most of one.
inline constexpr uint64_t kSplitVolumeSize = 4096;
inline constexpr std::size_t kSkewedSize = 20000;

// Bytes that compress: words and a little noise, reproducible by seed.
inline std::string SampleBytes(std::size_t size, uint32_t seed) {
  static const char* const kWords[] = {"label ", "design ", "setup\r\n", "archive ", "volume ", "0123 "};
  std::string bytes;
  while (bytes.size() < size) {
    seed = seed * 1103515245u + 12345u;
    const uint32_t pick = seed >> 16;
    if (pick % 5 == 0) {
      bytes.push_back(static_cast<char>(pick >> 3));
    } else {
      bytes += kWords[pick % 6];
    }
  }
  bytes.resize(size);
  return bytes;
}

inline std::string RandomBytes(std::size_t size, uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    seed = seed * 1103515245u + 12345u;
    c = static_cast<char>(seed >> 23);
  }
  return bytes;
}

// Bytes drawn with Fibonacci weights (1, 1, 2, 3, 5, ...) over 24 values: the
// rarest codes come out longer than the decoder's direct tables (12 bits for
// literals, 8 for distances), so that its tree walks run.
inline std::string SkewedBytes(std::size_t size, uint32_t seed) {
  uint32_t weights[24];
  uint32_t total = 0;
  for (int i = 0; i < 24; ++i) {
    weights[i] = i < 2 ? 1 : weights[i - 1] + weights[i - 2];
    total += weights[i];
  }
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    seed = seed * 1103515245u + 12345u;
    uint32_t pick = (seed >> 4) % total;
    int symbol = 23;
    while (pick >= weights[symbol]) pick -= weights[symbol--];
    c = static_cast<char>('A' + symbol);
  }
  return bytes;
}

struct SampleFile {
  std::string name;
  std::string bytes;
  uint32_t method;
  uint16_t attributes;
};

// Writes the files into directory and archives them into archivePath (a host
// path); volumeSize 0 makes one volume. Returns the host paths of the volumes.
inline std::vector<fs::path> WriteSampleArchive(const fs::path& directory, const std::string& archiveName,
                                                const std::vector<SampleFile>& files, uint64_t volumeSize = 0) {
  fs::create_directories(directory / "files");
  CArchiveWriter writer(platform::MapToWindows(directory / archiveName), {kMethodLh5, volumeSize});
  int16_t destination = 0;
  for (const SampleFile& file : files) {
    const fs::path path = directory / "files" / file.name;
    {
      std::FILE* out = std::fopen(path.c_str(), "wb");
      if (out == nullptr) throw std::runtime_error("cannot write " + path.string());
      std::fwrite(file.bytes.data(), 1, file.bytes.size(), out);
      std::fclose(out);
    }
    ArchiveMember member(platform::MapToWindows(path));
    member.method = file.method;
    member.attributes = file.attributes;
    member.fileTime = 946684800u + 86400u * static_cast<uint32_t>(destination);  // fixed times: stable seeds
    member.destinationId = destination--;
    writer.Add(member);
  }
  writer.Finish();
  std::vector<fs::path> volumes;
  for (const std::string& windowsPath : writer.VolumePaths()) {
    fs::path host;
    if (!platform::MapToHost(windowsPath, host)) throw std::runtime_error("unmapped volume " + windowsPath);
    volumes.push_back(host);
  }
  return volumes;
}

// The seeds: one archive per shape, and a two-volume one whose entry crosses
// the volume end. Returns the first volume of each (the second volume of the
// split archive is the one the fuzz target offers every input).
inline std::vector<fs::path> WriteSeedArchives(const fs::path& directory) {
  std::vector<fs::path> seeds;
  auto add = [&](const std::string& name, const std::vector<SampleFile>& files, uint64_t volumeSize = 0) {
    const std::vector<fs::path> volumes = WriteSampleArchive(directory / name, name + ".1", files, volumeSize);
    if (volumes.size() != (volumeSize == 0 ? 1u : 2u)) {
      throw std::runtime_error(name + ": " + std::to_string(volumes.size()) + " volumes");
    }
    seeds.push_back(volumes.front());
  };
  add("EMPTY", {});
  add("STORED", {{"A.TXT", SampleBytes(300, 1), kMethodStored, 0x20},
                 {"EMPTY.DAT", "", kMethodStored, 0x01},
                 {"B.BIN", SampleBytes(40, 2), kMethodStored, 0x06}});
  add("LH5", {{"README.TXT", SampleBytes(3000, 3), kMethodLh5, 0x20},
              {"ONE.TXT", "Q", kMethodLh5, 0x21},
              {"RUNS.DAT", std::string(5000, 'x') + SampleBytes(200, 4), kMethodLh5, 0}});
  add("MIXED", {{"S.TXT", SampleBytes(100, 5), kMethodStored, 0x20},
                {"L.TXT", SampleBytes(9000, 6), kMethodLh5, 0x20},
                {"E.TXT", "", kMethodLh5, 0}});
  add("DEEP", {{"SKEWED.BIN", SkewedBytes(kSkewedSize, 10), kMethodLh5, 0x20}});
  add("SPLIT", {{"FIRST.TXT", SampleBytes(1500, 7), kMethodLh5, 0x20},
                {"CROSS.BIN", RandomBytes(3000, 8), kMethodLh5, 0x20},
                {"LAST.TXT", SampleBytes(200, 9), kMethodStored, 0x20}},
      kSplitVolumeSize);
  return seeds;
}

}  // namespace archive_fuzz
