#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "profile/escapes.h"
#include "profile/setup_settings.h"
#include "profile/value_conversions.h"
#include "tests/common/profile_sections.h"

using qmtest::MakeSection;

namespace {

TEST(ExpandEscapes, LineFeedTabBackslashAndUnknownEscapes) {
  EXPECT_EQ(ExpandEscapes(R"(one\ntwo)"), "one\ntwo");
  EXPECT_EQ(ExpandEscapes(R"(a\tb)"), "a\tb");
  EXPECT_EQ(ExpandEscapes(R"(C:\\DIR)"), R"(C:\DIR)");
  EXPECT_EQ(ExpandEscapes(R"(\x41)"), R"(\x41)");
  EXPECT_EQ(ExpandEscapes(R"(\N)"), R"(\N)");  // escapes are lower case only
  // "\\n" is an escaped backslash followed by a plain n.
  EXPECT_EQ(ExpandEscapes(R"(\\n)"), R"(\n)");
}

TEST(ExpandEscapes, TrailingBackslashIsDropped) {
  EXPECT_EQ(ExpandEscapes("end\\"), "end");
  EXPECT_EQ(ExpandEscapes("\\"), "");
  EXPECT_EQ(ExpandEscapes("\\\\\\"), "\\");
  EXPECT_EQ(ExpandEscapes(""), "");
}

TEST(ReadFlag, OnlyTrueInAnyCase) {
  EXPECT_TRUE(ReadFlag("true"));
  EXPECT_TRUE(ReadFlag("TRUE"));
  EXPECT_TRUE(ReadFlag("True"));
  for (const char* off : {"false", "yes", "1", "", " true", "true ", "on"}) {
    EXPECT_FALSE(ReadFlag(off)) << '"' << off << '"';
  }
}

TEST(SetupSettings, DefaultsBeforeAnySection) {
  const SetupSettings settings;
  EXPECT_TRUE(settings.DisplaySplashFlag());
  EXPECT_EQ(settings.LogFilename(), "default.log");
  EXPECT_EQ(settings.FileCopyDelayInterval(), 5);
  EXPECT_EQ(settings.InstallTitleHeight(), 24);
  EXPECT_EQ(settings.WelcomeText(), "default");
  EXPECT_EQ(settings.PMGroup(), "default");
  EXPECT_EQ(settings.OutOfDiskText(), "default");
  EXPECT_TRUE(settings.Billboards().empty());
}

TEST(SetupSettings, KeyTableIsTheWholeVocabularyInFieldOrder) {
  const auto keys = SetupSettings::InterfaceKeys();
  ASSERT_EQ(keys.size(), 38u);
  EXPECT_EQ(keys.front().name, "DisplaySplashFlag");
  EXPECT_EQ(keys.back().name, "OutOfDiskText");
  std::set<std::string_view, std::less<>> names;
  for (const auto& key : keys) names.insert(key.name);
  EXPECT_EQ(names.size(), keys.size()) << "a key name appears twice";
}

// Each key reaches its own field: a text that names the key comes back from the
// accessor of that name, and from no other.
TEST(SetupSettings, EveryTextKeySetsItsOwnField) {
  using Getter = std::function<std::string(const SetupSettings&)>;
  const std::vector<std::pair<std::string, Getter>> texts = {
      {"LogFilename", [](const SetupSettings& s) { return s.LogFilename(); }},
      {"UnWelcomeText", [](const SetupSettings& s) { return s.UnWelcomeText(); }},
      {"UnWelcomeTitle", [](const SetupSettings& s) { return s.UnWelcomeTitle(); }},
      {"UnDoneText", [](const SetupSettings& s) { return s.UnDoneText(); }},
      {"UnDoneTitle", [](const SetupSettings& s) { return s.UnDoneTitle(); }},
      {"BrowseDirText", [](const SetupSettings& s) { return s.BrowseDirText(); }},
      {"BrowseDirTitle", [](const SetupSettings& s) { return s.BrowseDirTitle(); }},
      {"Typical", [](const SetupSettings& s) { return s.Typical(); }},
      {"Compact", [](const SetupSettings& s) { return s.Compact(); }},
      {"Custom", [](const SetupSettings& s) { return s.Custom(); }},
      {"InstallName", [](const SetupSettings& s) { return s.InstallName(); }},
      {"PMGroup", [](const SetupSettings& s) { return s.PMGroup(); }},
      {"WelcomeTitle", [](const SetupSettings& s) { return s.WelcomeTitle(); }},
      {"WelcomeText", [](const SetupSettings& s) { return s.WelcomeText(); }},
      {"ReadingInfoTitle", [](const SetupSettings& s) { return s.ReadingInfoTitle(); }},
      {"ReadingInfoText", [](const SetupSettings& s) { return s.ReadingInfoText(); }},
      {"InstallOptionsTitle", [](const SetupSettings& s) { return s.InstallOptionsTitle(); }},
      {"CustomOptionsTitle", [](const SetupSettings& s) { return s.CustomOptionsTitle(); }},
      {"CustomMBOptionsTitle", [](const SetupSettings& s) { return s.CustomMBOptionsTitle(); }},
      {"CustomMBOptionsText", [](const SetupSettings& s) { return s.CustomMBOptionsText(); }},
      {"TypicalMBOptionsTitle", [](const SetupSettings& s) { return s.TypicalMBOptionsTitle(); }},
      {"TypicalMBOptionsText", [](const SetupSettings& s) { return s.TypicalMBOptionsText(); }},
      {"CompactMBOptionsTitle", [](const SetupSettings& s) { return s.CompactMBOptionsTitle(); }},
      {"CompactMBOptionsText", [](const SetupSettings& s) { return s.CompactMBOptionsText(); }},
      {"AbortedTitle", [](const SetupSettings& s) { return s.AbortedTitle(); }},
      {"AbortedText", [](const SetupSettings& s) { return s.AbortedText(); }},
      {"DoneTitle", [](const SetupSettings& s) { return s.DoneTitle(); }},
      {"DoneText", [](const SetupSettings& s) { return s.DoneText(); }},
      {"ReallyCancelMBTitle", [](const SetupSettings& s) { return s.ReallyCancelMBTitle(); }},
      {"ReallyCancelMBText", [](const SetupSettings& s) { return s.ReallyCancelMBText(); }},
      {"CopyingFilesTitle", [](const SetupSettings& s) { return s.CopyingFilesTitle(); }},
      {"DefaultOptionDescription", [](const SetupSettings& s) { return s.DefaultOptionDescription(); }},
      {"UninstallProgressTitle", [](const SetupSettings& s) { return s.UninstallProgressTitle(); }},
      {"OutOfDiskTitle", [](const SetupSettings& s) { return s.OutOfDiskTitle(); }},
      {"OutOfDiskText", [](const SetupSettings& s) { return s.OutOfDiskText(); }},
  };
  ASSERT_EQ(texts.size() + 3, SetupSettings::InterfaceKeys().size());  // + the flag and two numbers

  std::vector<qmtest::KeyLine> keys;
  for (const auto& [name, getter] : texts) keys.push_back({name, {"value of " + name}});
  keys.push_back({"DisplaySplashFlag", {"false"}});
  keys.push_back({"FileCopyDelayInterval", {"17"}});
  keys.push_back({"InstallTitleHeight", {"31"}});

  SetupSettings settings;
  settings.ReadInterfaceSection(MakeSection("interface", keys));
  for (const auto& [name, getter] : texts) EXPECT_EQ(getter(settings), "value of " + name);
  EXPECT_FALSE(settings.DisplaySplashFlag());
  EXPECT_EQ(settings.FileCopyDelayInterval(), 17);
  EXPECT_EQ(settings.InstallTitleHeight(), 31);
}

TEST(SetupSettings, TextsExpandEscapesButPMGroupIsRaw) {
  SetupSettings settings;
  settings.ReadInterfaceSection(MakeSection("interface", {
      {"WelcomeText", {R"(Hello\nWorld \\ \x)"}},
      {"PMGroup", {R"(Quill\nGroup\\)"}},
      {"LogFilename", {R"(C:\\LOG\)"}},
  }));
  EXPECT_EQ(settings.WelcomeText(), "Hello\nWorld \\ \\x");
  EXPECT_EQ(settings.PMGroup(), R"(Quill\nGroup\\)");
  EXPECT_EQ(settings.LogFilename(), R"(C:\LOG)");
}

TEST(SetupSettings, FlagAndNumberConversions) {
  const auto read = [](const std::string& key, const std::string& value) {
    SetupSettings settings;
    settings.ReadInterfaceSection(MakeSection("interface", {{key, {value}}}));
    return settings;
  };
  EXPECT_TRUE(read("DisplaySplashFlag", "TRUE").DisplaySplashFlag());
  EXPECT_FALSE(read("DisplaySplashFlag", "false").DisplaySplashFlag());
  EXPECT_FALSE(read("DisplaySplashFlag", "yes").DisplaySplashFlag());
  EXPECT_FALSE(read("DisplaySplashFlag", "1").DisplaySplashFlag());
  EXPECT_EQ(read("FileCopyDelayInterval", "12abc").FileCopyDelayInterval(), 12);
  EXPECT_EQ(read("FileCopyDelayInterval", "  -7").FileCopyDelayInterval(), -7);
  EXPECT_EQ(read("InstallTitleHeight", "tall").InstallTitleHeight(), 0);
}

TEST(SetupSettings, KeysMatchIgnoringCaseAndUnknownKeysAreSkipped) {
  SetupSettings settings;
  settings.ReadInterfaceSection(MakeSection("interface", {
      {"welcometitle", {"lower"}},
      {"PMGROUP", {"upper"}},
      {"WelcomeTitles", {"near miss"}},
      {"Billboard", {"not here"}},
  }));
  EXPECT_EQ(settings.WelcomeTitle(), "lower");
  EXPECT_EQ(settings.PMGroup(), "upper");
  EXPECT_EQ(settings.WelcomeText(), "default");
}

TEST(SetupSettings, OnlyTheFirstValueCountsAndTheLastKeyWins) {
  SetupSettings settings;
  settings.ReadInterfaceSection(MakeSection("interface", {
      {"DoneTitle", {"first", "second"}},
      {"DoneText", {"early"}},
      {"DONETEXT", {"late"}},
  }));
  EXPECT_EQ(settings.DoneTitle(), "first");
  EXPECT_EQ(settings.DoneText(), "late");
}

TEST(SetupSettings, SecondInterfaceSectionOverridesOnlyItsKeys) {
  SetupSettings settings;
  settings.ReadInterfaceSection(MakeSection("interface", {
      {"WelcomeTitle", {"Title one"}},
      {"WelcomeText", {"Text one"}},
      {"FileCopyDelayInterval", {"9"}},
  }));
  settings.ReadInterfaceSection(MakeSection("Interface", {{"WelcomeText", {"Text two"}}}));
  EXPECT_EQ(settings.WelcomeTitle(), "Title one");
  EXPECT_EQ(settings.WelcomeText(), "Text two");
  EXPECT_EQ(settings.FileCopyDelayInterval(), 9);
}

TEST(SetupSettings, KeyWithoutValuesGivesEmptyZeroAndOff) {
  SetupSettings settings;
  settings.ReadInterfaceSection(MakeSection("interface", {
      {"WelcomeText", {}},
      {"PMGroup", {}},
      {"FileCopyDelayInterval", {}},
      {"DisplaySplashFlag", {}},
  }));
  EXPECT_EQ(settings.WelcomeText(), "");
  EXPECT_EQ(settings.PMGroup(), "");
  EXPECT_EQ(settings.FileCopyDelayInterval(), 0);
  EXPECT_FALSE(settings.DisplaySplashFlag());
}

}  // namespace
