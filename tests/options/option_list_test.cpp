#include <gtest/gtest.h>

#include "options/option_list.h"
#include "tests/options/option_test_support.h"

using qmtest::MakeSection;
using qmtest::RecordingMessages;

namespace {

// Adds one option per (number, group) pair, in the order given.
std::vector<std::pair<std::string, std::string>> Build(
    const std::vector<std::pair<std::string, std::string>>& options, RecordingMessages& messages) {
  COptionList list;
  for (const auto& [number, group] : options) {
    list.AddOption(MakeSection("Option", {{"Option", {number}}, {"Group", {group}}}), messages);
  }
  std::vector<std::pair<std::string, std::string>> held;
  for (const auto& option : list.Options()) held.emplace_back(option->Number(), option->Group());
  return held;
}

std::vector<std::pair<std::string, std::string>> Build(
    const std::vector<std::pair<std::string, std::string>>& options) {
  RecordingMessages messages;
  return Build(options, messages);
}

using Held = std::vector<std::pair<std::string, std::string>>;

TEST(COptionList, OrderedByNumberAsText) {
  EXPECT_EQ(Build({{"1", "a"}, {"2", "b"}, {"10", "c"}}), (Held{{"1", "a"}, {"10", "c"}, {"2", "b"}}));
  EXPECT_EQ(Build({{"2", "b"}, {"10", "c"}, {"1", "a"}}), (Held{{"1", "a"}, {"10", "c"}, {"2", "b"}}));
}

TEST(COptionList, EqualNumbersKeepFileOrder) {
  EXPECT_EQ(Build({{"2", "first"}, {"1", "x"}, {"2", "second"}, {"2", "third"}}),
            (Held{{"1", "x"}, {"2", "first"}, {"2", "second"}, {"2", "third"}}));
}

TEST(COptionList, LeadingZerosAndPrefixesAreDifferentNumbers) {
  EXPECT_EQ(Build({{"1", "one"}, {"01", "zero-one"}, {"", "empty"}, {"1", "again"}}),
            (Held{{"", "empty"}, {"01", "zero-one"}, {"1", "one"}, {"1", "again"}}));
}

TEST(COptionList, BytesCompareUnsigned) {
  EXPECT_TRUE(OptionNumberLess("1", "10"));
  EXPECT_FALSE(OptionNumberLess("10", "1"));
  EXPECT_FALSE(OptionNumberLess("2", "2"));
  // A byte above 0x7F is greater than any ASCII character.
  EXPECT_TRUE(OptionNumberLess("9", "\xE9"));
  EXPECT_FALSE(OptionNumberLess("\xE9", "9"));
}

TEST(COptionList, BadNumbersAreReportedAndStillAdded) {
  RecordingMessages messages;
  EXPECT_EQ(Build({{"0", "zero"}, {"abc", "text"}, {"1", "one"}}, messages),
            (Held{{"0", "zero"}, {"1", "one"}, {"abc", "text"}}));
  EXPECT_EQ(messages.shown.size(), 2u);
}

TEST(COptionList, SectionWithoutOptionKeyHasTheDefaultNumber) {
  RecordingMessages messages;
  COptionList list;
  list.AddOption(MakeSection("Option", {{"Option", {"1"}}}), messages);
  list.AddOption(MakeSection("Option", {{"Group", {"G"}}}), messages);
  ASSERT_EQ(list.Options().size(), 2u);
  EXPECT_EQ(list.Options()[0]->Number(), "-1");  // "-" sorts before digits
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
