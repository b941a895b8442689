// Writes the seed corpus of the archive fuzz target: the first volume of each
// sample archive (archive_fuzz_samples.h), named after it, into DIRECTORY.
//   archive_fuzz_seeds fuzz/corpus/archive
// Remake them when the compressor changes: the fuzz target writes the second
// volume of the split seed at start, from the compressor it is built with.

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "fuzz/archive_fuzz_samples.h"
#include "platform/machine/machine.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  if (argc != 2) {
    std::fprintf(stderr, "usage: archive_fuzz_seeds DIRECTORY\n");
    return 2;
  }
  std::string pattern = (fs::temp_directory_path() / "qm-archive-seeds-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path root = pattern;
  int status = 0;
  try {
    platform::UseMachine(root / "machine");
    for (const fs::path& seed : archive_fuzz::WriteSeedArchives(root / "samples")) {
      fs::copy_file(seed, fs::path(argv[1]) / (seed.stem().string() + ".arc"), fs::copy_options::overwrite_existing);
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "archive_fuzz_seeds: %s\n", error.what());
    status = 1;
  }
  std::error_code ignored;
  fs::remove_all(root, ignored);
  return status;
}
