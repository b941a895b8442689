#include <gtest/gtest.h>

#include "options/option.h"
#include "tests/options/option_test_support.h"

using qmtest::MakeSection;
using qmtest::RecordingMessages;

namespace {

COption ReadOption(const std::vector<qmtest::KeyLine>& keys, RecordingMessages& messages) {
  COption option;
  option.ReadOptionSection(MakeSection("Option", keys), messages);
  return option;
}

COption ReadOption(const std::vector<qmtest::KeyLine>& keys) {
  RecordingMessages messages;
  return ReadOption(keys, messages);
}

TEST(COption, Defaults) {
  const COption option;
  EXPECT_TRUE(option.Compact());
  EXPECT_TRUE(option.Typical());
  EXPECT_FALSE(option.AdminCompact());
  EXPECT_TRUE(option.AdminTypical());
  EXPECT_EQ(option.DialogText(), "empty");
  EXPECT_EQ(option.Space(), 0u);
  EXPECT_EQ(option.Number(), "-1");
  EXPECT_EQ(option.ParentNumber(), "-1");
  EXPECT_TRUE(option.UserChoose());
  EXPECT_TRUE(option.UserSetPath());
  EXPECT_TRUE(option.UserVisible());
  EXPECT_EQ(option.Group(), "none");
  EXPECT_EQ(option.DestinationId(), -99);
  EXPECT_EQ(option.Description(), "<<No additional option description>>");
}

TEST(COption, EveryKeyReachesItsField) {
  RecordingMessages messages;
  const COption option = ReadOption({
      {"option", {"3"}},
      {"PARENTOPTION", {"1"}},
      {"DialogText", {R"(Fonts\n)"}},
      {"OptionDescription", {R"(All\tfonts\\)"}},
      {"Group", {"FONTS"}},
      {"DestinationID", {"-3"}},
      {"Space", {"250000"}},
      {"Compact", {"false"}},
      {"Typical", {"FALSE"}},
      {"AdminCompact", {"True"}},
      {"AdminTypical", {"no"}},
      {"UserSetPath", {""}},
      {"Unknown", {"ignored"}},
  }, messages);
  EXPECT_EQ(option.Number(), "3");
  EXPECT_EQ(option.ParentNumber(), "1");
  EXPECT_EQ(option.DialogText(), R"(Fonts\n)");  // dialog text is kept as written
  EXPECT_EQ(option.Description(), "All\tfonts\\");
  EXPECT_EQ(option.Group(), "FONTS");
  EXPECT_EQ(option.DestinationId(), -3);
  EXPECT_EQ(option.Space(), 250000u);
  EXPECT_FALSE(option.Compact());
  EXPECT_FALSE(option.Typical());
  EXPECT_TRUE(option.AdminCompact());
  EXPECT_FALSE(option.AdminTypical());
  EXPECT_FALSE(option.UserSetPath());
  EXPECT_TRUE(option.UserChoose());
  EXPECT_TRUE(option.UserVisible());
  EXPECT_TRUE(messages.shown.empty());
}

TEST(COption, SpaceBelowTheMinimumIsRaisedToIt) {
  const auto space = [](const std::string& value) { return ReadOption({{"Space", {value}}}).Space(); };
  EXPECT_EQ(space("0"), 0u);
  EXPECT_EQ(space("abc"), 0u);
  EXPECT_EQ(space("1"), 100000u);
  EXPECT_EQ(space("99999"), 100000u);
  EXPECT_EQ(space("100000"), 100000u);
  EXPECT_EQ(space("100001"), 100001u);
  EXPECT_EQ(space("3000000000"), 2147483647u);  // beyond the signed read: clamped
  // Negative values are read signed and held unsigned.
  EXPECT_EQ(space("-1"), 4294967295u);
  EXPECT_EQ(space("-100000"), 4294867296u);
}

TEST(COption, UserVisibleOffAlsoTurnsUserChooseOff) {
  EXPECT_FALSE(ReadOption({{"UserVisible", {"false"}}}).UserChoose());
  EXPECT_TRUE(ReadOption({{"UserVisible", {"false"}}, {"UserChoose", {"true"}}}).UserChoose());
  EXPECT_FALSE(ReadOption({{"UserChoose", {"true"}}, {"UserVisible", {"false"}}}).UserChoose());
  // Visible again does not give the choice back.
  EXPECT_FALSE(ReadOption({{"UserVisible", {"false"}}, {"UserVisible", {"true"}}}).UserChoose());
  EXPECT_FALSE(ReadOption({{"UserChoose", {"false"}}, {"UserVisible", {"TRUE"}}}).UserChoose());
}

TEST(COption, NumberBelowOneIsReportedOncePerKeyAndKept) {
  RecordingMessages messages;
  const COption zero = ReadOption({{"Option", {"0"}}}, messages);
  EXPECT_EQ(zero.Number(), "0");
  ASSERT_EQ(messages.shown, std::vector<std::string>{"Error - Options must be greater than 0"});

  messages.shown.clear();
  const COption twice = ReadOption({{"Option", {"abc"}}, {"Option", {"-2"}}, {"Option", {"5"}}}, messages);
  EXPECT_EQ(twice.Number(), "5");
  EXPECT_EQ(messages.shown.size(), 2u);

  messages.shown.clear();
  EXPECT_EQ(ReadOption({{"Option", {"abc"}}}, messages).Number(), "abc");
  EXPECT_EQ(messages.shown.size(), 1u);

  messages.shown.clear();
  EXPECT_EQ(ReadOption({{"Option", {" 7x"}}}, messages).Number(), " 7x");
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
