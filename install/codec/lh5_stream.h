#pragma once
// The byte streams the -lh5- decoder and compressor work between. The codec
// object implements them over its source and destination.

#include <cstddef>

namespace lh5 {

class Input {
 public:
  virtual ~Input() = default;
  // Up to count bytes; fewer only at the real end of the data.
  virtual std::size_t ReadInput(void* buffer, std::size_t count) = 0;
};

class Output {
 public:
  virtual ~Output() = default;
  virtual void WriteOutput(const void* buffer, std::size_t count) = 0;
};

}  // namespace lh5
