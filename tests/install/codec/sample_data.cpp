#include "tests/install/codec/sample_data.h"

#include <array>
#include <cstring>
#include <string_view>

namespace qmtest {
namespace {

constexpr std::array<std::string_view, 64> kWords = {
    "the",    "of",      "and",    "to",      "in",       "is",      "that",   "for",
    "label",  "design",  "print",  "page",    "layout",   "text",    "frame",  "barcode",
    "font",   "size",    "margin", "column",  "row",      "sheet",   "printer", "paper",
    "width",  "height",  "colour", "border",  "shadow",   "field",   "record", "database",
    "merge",  "serial",  "number", "counter", "date",     "time",    "image",  "picture",
    "scale",  "rotate",  "align",  "centre",  "left",     "right",   "top",    "bottom",
    "export", "import",  "setup",  "install", "directory", "file",   "option", "group",
    "with",   "from",    "this",   "are",     "have",     "not",     "each",   "every"};

std::string_view Word(SampleRng& rng) { return kWords[rng.Below(kWords.size())]; }

void AppendLe(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string SampleText(std::size_t size, std::uint64_t seed) {
  SampleRng rng(seed);
  std::string out;
  out.reserve(size + 256);
  while (out.size() < size) {
    const std::size_t first = out.size();
    for (std::size_t n = 4 + rng.Below(14); n > 0; --n) {
      out += Word(rng);
      out += ' ';
    }
    out[first] = static_cast<char>(out[first] - 'a' + 'A');
    out.back() = '.';
    out += rng.Below(8) != 0 ? " " : "\r\n\r\n";
  }
  out.resize(size);
  return out;
}

std::string SampleSource(std::size_t size, std::uint64_t seed) {
  SampleRng rng(seed);
  std::string out = "#include <stdio.h>\n\n";
  for (unsigned n = 0; out.size() < size; ++n) {
    out += "static int ";
    out += Word(rng);
    out += '_';
    out += Word(rng);
    out += std::to_string(n) + "(int a0, long a1)\n{\n    int v0 = 0, v1 = 1, v2 = 2;\n";
    for (std::size_t line = 2 + rng.Below(8); line > 0; --line) {
      const std::string var = "v" + std::to_string(rng.Below(3));
      if (rng.Below(3) == 0) {
        out += "    if (" + var + " > " + std::to_string(rng.Below(1000)) + ") {\n        return " + var + " * " +
               std::to_string(rng.Below(97)) + ";\n    }\n";
      } else {
        out += "    " + var + " += a0 + " + std::to_string(rng.Below(4096)) + "; /* ";
        out += Word(rng);
        out += " */\n";
      }
    }
    out += "    return v0;\n}\n\n";
  }
  out.resize(size);
  return out;
}

std::string SampleRecords(std::size_t size, std::uint64_t seed) {
  SampleRng rng(seed);
  std::string out;
  out.reserve(size + 64);
  for (std::uint32_t i = 0; out.size() < size; ++i) {
    AppendLe(out, i, 4);
    AppendLe(out, 1000 + 3 * i, 4);
    const float value = static_cast<float>(i) * 0.25f + static_cast<float>(rng.Below(100)) / 7.0f;
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    AppendLe(out, bits, 4);
    std::string name(Word(rng));
    name.resize(16, '\0');
    out += name;
    AppendLe(out, static_cast<std::uint32_t>(rng.Below(4)), 2);
    AppendLe(out, i % 5 == 0 ? 0xFFFF : 0, 2);
  }
  out.resize(size);
  return out;
}

std::string SampleRuns(std::size_t size, std::uint64_t seed) {
  SampleRng rng(seed);
  std::string out;
  out.reserve(size + 700);
  while (out.size() < size) out.append(1 + rng.Below(700), static_cast<char>(rng.Below(6) * 40));
  out.resize(size);
  return out;
}

std::string SampleRandom(std::size_t size, std::uint64_t seed) {
  SampleRng rng(seed);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(rng.Next() >> 56);
  return out;
}

std::string SampleMixed(std::size_t size, std::uint64_t seed) {
  SampleRng rng(seed);
  std::string out;
  out.reserve(size + 65536);
  while (out.size() < size) {
    const std::size_t piece = 2048 + rng.Below(62 * 1024);
    const std::uint64_t pieceSeed = rng.Next();
    switch (rng.Below(10)) {
      case 0: case 1: case 2: case 3: out += SampleText(piece, pieceSeed); break;
      case 4: case 5: out += SampleRecords(piece, pieceSeed); break;
      case 6: out += SampleSource(piece, pieceSeed); break;
      case 7: case 8: out += SampleRuns(piece, pieceSeed); break;
      default: out += SampleRandom(piece, pieceSeed); break;
    }
  }
  out.resize(size);
  return out;
}

}  // namespace qmtest
