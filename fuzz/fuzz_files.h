#pragma once
// For targets whose parser reads a file: a temporary root with a machine of
// its own (nothing outside it is touched), removed at exit, and the input
// written to one file in it.

#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/machine/machine.h"

namespace fuzz_files {

inline std::filesystem::path& Root() {
  static std::filesystem::path root;
  return root;
}

inline void RemoveRoot() {
  std::error_code ignored;
  std::filesystem::current_path("/", ignored);
  std::filesystem::remove_all(Root(), ignored);
}

// Makes the root (named after the target) and its machine; call once, from
// LLVMFuzzerInitialize.
inline void MakeRoot(const char* target) {
  std::string pattern = (std::filesystem::temp_directory_path() / (std::string("qm-") + target + "-XXXXXX")).string();
  FuzzCheck(::mkdtemp(pattern.data()) != nullptr, "no temporary directory");
  Root() = pattern;
  std::atexit(RemoveRoot);
  platform::UseMachine(Root() / "machine");
  std::filesystem::create_directories(Root() / "work");
}

// Writes the input to work/NAME and returns that host path.
inline std::filesystem::path WriteInput(const char* name, const uint8_t* data, std::size_t size) {
  const std::filesystem::path path = Root() / "work" / name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  FuzzCheck(static_cast<bool>(out.flush()), "the input cannot be written");
  return path;
}

}  // namespace fuzz_files
