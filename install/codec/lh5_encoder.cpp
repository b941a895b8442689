#include "install/codec/lh5_encoder.h"

#include "install/codec/lh5_block_writer.h"
#include "install/codec/lh5_parser.h"

namespace lh5 {

Encoder::Encoder() : parser_(std::make_unique<Parser>()) {}

Encoder::~Encoder() = default;

void Encoder::Encode(Input& input, Output& output) {
  auto blocks = std::make_unique<BlockWriter>(output);
  parser_->Run(input, *blocks);
  blocks->Finish();
}

}  // namespace lh5
