// Runs a fuzz target over files, without libFuzzer: every file named, and every
// file of every directory named, in name order. The test build replays the
// committed corpora this way, so that an input that once broke a promise keeps
// being tried by every build, sanitizers included.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

namespace {

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& named) {
  std::vector<std::filesystem::path> inputs;
  if (std::filesystem::is_directory(named)) {
    for (const auto& entry : std::filesystem::directory_iterator(named)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
  } else {
    inputs.push_back(named);
  }
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  // Named before the target's set-up, which may change the current directory.
  std::vector<std::filesystem::path> named;
  for (int i = 1; i < argc; ++i) named.push_back(std::filesystem::absolute(argv[i]));
  if (LLVMFuzzerInitialize != nullptr) LLVMFuzzerInitialize(&argc, &argv);
  std::size_t count = 0;
  for (const std::filesystem::path& each : named) {
    for (const std::filesystem::path& input : InputsOf(each)) {
      std::ifstream in(input, std::ios::binary);
      if (!in) {
        std::fprintf(stderr, "cannot read %s\n", input.c_str());
        return 1;
      }
      const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
      ++count;
    }
  }
  std::printf("%zu inputs replayed\n", count);
  return count == 0 ? 1 : 0;
}
