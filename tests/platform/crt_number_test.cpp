#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/crt_number.h"

namespace platform {
namespace {

TEST(ReadDecimalLong, ReadsAsTheRuntimeDoesHeldTo32Bits) {
  struct Case {
    std::string text;
    std::int32_t value;
  };
  const std::vector<Case> cases = {
      // Digits up to the first non-digit, after white space and one sign.
      {"42", 42}, {"12abc", 12}, {"007", 7}, {"1.5", 1}, {"  -7", -7}, {"\t+42 ", 42}, {"\r\n\v\f9", 9},
      // No digits where they must stand.
      {"", 0}, {"abc", 0}, {"x1", 0}, {"-", 0}, {"- 5", 0}, {"+-5", 0},
      // The 32-bit range and beyond it: the bound, never a wrapped number.
      {"2147483647", INT32_MAX}, {"2147483648", INT32_MAX}, {"-2147483648", INT32_MIN},
      {"-2147483649", INT32_MIN}, {"99999999999999999999", INT32_MAX}, {"-99999999999", INT32_MIN},
      {std::string(400, '9'), INT32_MAX}, {"-" + std::string(400, '9'), INT32_MIN}};
  for (const Case& c : cases) EXPECT_EQ(ReadDecimalLong(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace platform
