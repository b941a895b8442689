#pragma once
// The -lh5- compressor: the parser's literals and matches, coded in blocks.

#include <memory>

#include "install/lh5_stream.h"

namespace lh5 {

class Parser;

class Encoder {
 public:
  Encoder();
  ~Encoder();
  // Reads input to its end and writes one -lh5- stream to output.
  void Encode(Input& input, Output& output);

 private:
  std::unique_ptr<Parser> parser_;
};

}  // namespace lh5
