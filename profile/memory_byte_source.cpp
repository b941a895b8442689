#include "profile/profile_byte_source.h"

namespace {

class MemoryByteSource final : public ProfileByteSource {
 public:
  explicit MemoryByteSource(std::string_view text) : text_(text) {}

  int Get() override { return position_ < text_.size() ? static_cast<unsigned char>(text_[position_++]) : kEnd; }
  int Peek() override { return position_ < text_.size() ? static_cast<unsigned char>(text_[position_]) : kEnd; }

 private:
  std::string text_;
  std::size_t position_ = 0;
};

}  // namespace

std::unique_ptr<ProfileByteSource> MakeMemoryByteSource(std::string_view text) {
  return std::make_unique<MemoryByteSource>(text);
}
