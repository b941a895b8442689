// printf-style formatting of table texts with kind-checked arguments.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "install/errors/printf_format.h"

namespace {

std::string Format(std::string_view format, std::vector<FormatArg> args = {}) {
  return FormatPrintf(format, args);
}

TEST(FormatPrintf, NumbersFollowTheCConversionsAt32Bits) {
  EXPECT_EQ(Format("%d.%d (%s)", {17, 2, "CXFileException"}), "17.2 (CXFileException)");
  EXPECT_EQ(Format("%d|%i", {-2, -5}), "-2|-5");
  EXPECT_EQ(Format("%u", {-1}), "4294967295");
  EXPECT_EQ(Format("%x %X %o", {255, 255, 8}), "ff FF 10");
  EXPECT_EQ(Format("%#x %03d %+d %-4d|", {255, 7, 7, 7}), "0xff 007 +7 7   |");
  EXPECT_EQ(Format("%ld %hd", {100000L, 12}), "100000 12");
  EXPECT_EQ(Format("%lld %I64d", {INT64_C(5000000000), INT64_C(-5000000000)}), "5000000000 -5000000000");
  EXPECT_EQ(Format("%d", {INT64_C(5000000000)}), "705032704");  // cut to 32 bits as an int argument
  EXPECT_EQ(Format("%c%c", {'o', 'k'}), "ok");
}

TEST(FormatPrintf, TextsTakeWidthAndPrecision) {
  EXPECT_EQ(Format("[%5s][%-5s][%.2s]", {"ab", "ab", "abcdef"}), "[   ab][ab   ][ab]");
  EXPECT_EQ(Format("100%% of %s", {std::string("disk")}), "100% of disk");
}

TEST(FormatPrintf, MismatchedOrMissingArgumentsStayVisibleAndSafe) {
  EXPECT_EQ(Format("'%s'", {42}), "'42'");
  EXPECT_EQ(Format("'%s'", {-42}), "'-42'");
  EXPECT_EQ(Format("%d", {"text"}), "text");
  EXPECT_EQ(Format("'%s' %d"), "'' ");
  EXPECT_EQ(Format("%s", {"a", "extra"}), "a");
  EXPECT_EQ(Format("%s", {static_cast<const char*>(nullptr)}), "");
}

TEST(FormatPrintf, UnknownConversionsAreCopiedAndTakeNoArgument) {
  EXPECT_EQ(Format("%q %s", {"x"}), "%q x");
  EXPECT_EQ(Format("%*d %s", {"x"}), "%*d x");
  EXPECT_EQ(Format("%n%s", {"x"}), "%nx");
  EXPECT_EQ(Format("end %", {}), "end %");
  EXPECT_EQ(Format("%5", {1}), "%5");
}

TEST(FormatPrintf, HugeWidthsAreBounded) {
  EXPECT_EQ(Format("%999999999999d", {1}).size(), 4096u);
  EXPECT_EQ(Format("%99999999999s", {"a"}).size(), 4096u);
}

}  // namespace
