// Which installed copy a new file is compared with, and when it gives way.

#include <optional>
#include <ostream>
#include <string>

#include "install/copy/replace_rule.h"
#include "tests/install/copy/copy_test_support.h"

namespace {

using namespace copy_test;

// A side of a comparison: a version fixture, or a plain text file with a time.
struct Side {
  const char* fixture;  // null: no version information
  uint32_t time;
};

struct ReplaceCase {
  const char* name;
  Side existing;
  Side incoming;
  bool replace;
};
void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.name; }

class ReplaceRuleTest : public CopyTest, public ::testing::WithParamInterface<ReplaceCase> {
 protected:
  static void PutSide(const std::string& win, const Side& side) {
    if (side.fixture) {
      PutFixture(win, side.fixture, side.time);
    } else {
      Put(win, "plain " + win, side.time);
    }
  }
};

TEST_P(ReplaceRuleTest, Decides) {
  const ReplaceCase& c = GetParam();
  PutSide("C:\\APP\\OLD.DLL", c.existing);
  PutSide("C:\\APP\\NEW.DLL", c.incoming);
  EXPECT_EQ(ShouldReplace("C:\\APP\\NEW.DLL", "C:\\APP\\OLD.DLL"), c.replace);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ReplaceRuleTest,
    ::testing::Values(
        ReplaceCase{"GreaterVersionReplaces", {"ver1999_pe64.dll", kNew}, {"ver2001_pe32.exe", kOld}, true},
        ReplaceCase{"LesserVersionKeeps", {"ver2001_pe32.exe", kOld}, {"ver1999_pe64.dll", kNew}, false},
        ReplaceCase{"EqualVersionKeeps", {"ver1234_pe32.dll", kOld}, {"ver1234_pe64.exe", kNew}, false},
        ReplaceCase{"OnlyExistingVersionedKeeps", {"ver1234_pe32.dll", kOld}, {nullptr, kNew}, false},
        ReplaceCase{"OnlyNewVersionedReplaces", {nullptr, kNew}, {"ver1234_pe32.dll", kOld}, true},
        ReplaceCase{"FixtureWithoutVersionCountsAsNone", {"noversion_pe32.exe", kOld}, {nullptr, kNew}, true},
        ReplaceCase{"NoVersionsLaterTimeReplaces", {nullptr, kOld}, {nullptr, kNew}, true},
        ReplaceCase{"NoVersionsSameTimeKeeps", {nullptr, kNew}, {nullptr, kNew}, false},
        ReplaceCase{"NoVersionsEarlierTimeKeeps", {nullptr, kNew}, {nullptr, kOld}, false}),
    [](const ::testing::TestParamInfo<ReplaceCase>& info) { return std::string(info.param.name); });

struct ExistingCase {
  const char* name;
  int destination;
  std::vector<const char*> present;  // files put on the machine
  const char* destinationPath;
  std::optional<std::string> expected;
};
void PrintTo(const ExistingCase& c, std::ostream* os) { *os << c.name; }

class ExistingFileTest : public CopyTest, public ::testing::WithParamInterface<ExistingCase> {};

TEST_P(ExistingFileTest, IsFound) {
  const ExistingCase& c = GetParam();
  for (const char* path : c.present) Put(path, "x");
  EXPECT_EQ(FindExistingFile(c.destination, c.destinationPath, destinations_), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lookup, ExistingFileTest,
    ::testing::Values(
        ExistingCase{"WindowsIdFindsTheSystemCopy", -2, {"C:\\WINDOWS\\SYSTEM\\A.DLL"}, "C:\\WINDOWS\\A.DLL",
                     "C:\\WINDOWS\\SYSTEM\\A.DLL"},
        ExistingCase{"SystemIdFindsTheWindowsCopyFirst", -3,
                     {"C:\\WINDOWS\\A.DLL", "C:\\WINDOWS\\SYSTEM\\A.DLL"}, "C:\\WINDOWS\\SYSTEM\\A.DLL",
                     "C:\\WINDOWS\\A.DLL"},
        ExistingCase{"WindowsIdWithNoCopy", -2, {}, "C:\\WINDOWS\\A.DLL", std::nullopt},
        ExistingCase{"OtherIdsLookOnlyAtTheDestination", 0, {"C:\\WINDOWS\\A.DLL"}, "C:\\APP\\A.DLL", std::nullopt},
        ExistingCase{"OtherIdsFindTheDestination", 1, {"C:\\APP\\SUB\\A.DLL"}, "C:\\APP\\SUB\\A.DLL",
                     "C:\\APP\\SUB\\A.DLL"}),
    [](const ::testing::TestParamInfo<ExistingCase>& info) { return std::string(info.param.name); });

}  // namespace
