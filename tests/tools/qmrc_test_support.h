#pragma once
// Scripts written into a temporary directory and compiled there, for the
// resource compiler's tests.

#include <cstdint>
#include <string>
#include <vector>

#include "tests/common/temp_dir.h"
#include "tools/qmrc/compiler.h"

namespace qmtest {

// A BMP file of width x height pixels at 24 bits, every byte of it sound.
inline std::string MakeBmp(int width, int height) {
  const std::uint32_t rowBytes = ((static_cast<std::uint32_t>(width) * 24 + 31) / 32) * 4;
  const std::uint32_t pixels = rowBytes * static_cast<std::uint32_t>(height);
  const std::uint32_t size = 54 + pixels;
  std::string bmp(size, '\0');
  auto put32 = [&](size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  bmp[0] = 'B';
  bmp[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  bmp[26] = 1;   // planes
  bmp[28] = 24;  // bits per pixel
  for (std::uint32_t i = 0; i < pixels; ++i) bmp[54 + i] = static_cast<char>(i * 7);
  return bmp;
}

class ScriptDir {
 public:
  // Writes a file beside the script (a header, a bitmap).
  void Add(const std::string& name, const std::string& text) { WriteFileText(dir_ / name, text); }

  std::string ScriptPath() const { return (dir_ / "test.rc").string(); }

  qmrc::ResourceScript Compile(const std::string& script) {
    Add("test.rc", script);
    return qmrc::CompileScript(ScriptPath());
  }

  // The error message a script gives; empty when it compiles.
  std::string ErrorOf(const std::string& script) {
    try {
      Compile(script);
    } catch (const qmrc::CompileError& e) {
      return e.what();
    }
    return {};
  }

  const TempDir& Dir() const { return dir_; }

 private:
  TempDir dir_{"qmrc-test"};
};

}  // namespace qmtest
