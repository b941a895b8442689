// Program Manager's command strings as clients write them: spacing, quoted and
// unquoted arguments, empty and missing trailing ones, and texts that are not
// commands at all.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/dde/progman_command.h"

namespace platform::dde {
namespace {

struct ParseCase {
  const char* text;
  std::vector<ProgmanCommand> expected;
};

TEST(ProgmanCommandParse, AcceptsProgramManagerArgumentForms) {
  const std::vector<ParseCase> cases = {
      {"[CreateGroup(\"QM2\")]", {{"CreateGroup", {"QM2"}}}},
      {"[CreateGroup (\"QM2\", \"QM2.GRP\")]", {{"CreateGroup", {"QM2", "QM2.GRP"}}}},
      {"  [ DeleteItem ( Quillmark Help ) ]  ", {{"DeleteItem", {"Quillmark Help"}}}},
      {"[AddItem (C:\\QM\\QM.EXE /U,\"Remove, then quit\",,0,-1,-1,,,0)]",
       {{"AddItem", {"C:\\QM\\QM.EXE /U", "Remove, then quit", "", "0", "-1", "-1", "", "", "0"}}}},
      {"[AddItem(C:\\QM\\QM.EXE )]", {{"AddItem", {"C:\\QM\\QM.EXE"}}}},
      {"[ShowGroup(\"Say \"\"hi\"\"\", 1)]", {{"ShowGroup", {"Say \"hi\"", "1"}}}},
      {"[ExitProgman]", {{"ExitProgman", {}}}},
      {"[Reload()]", {{"Reload", {}}}},
      {"[CreateGroup(A)][ReplaceItem(B)]\r\n[AddItem(C,D)]",
       {{"CreateGroup", {"A"}}, {"ReplaceItem", {"B"}}, {"AddItem", {"C", "D"}}}},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.text);
    const std::vector<ProgmanCommand> parsed = ParseProgmanCommands(c.text);
    ASSERT_EQ(parsed.size(), c.expected.size());
    for (std::size_t i = 0; i < parsed.size(); ++i) {
      EXPECT_EQ(parsed[i].name, c.expected[i].name);
      EXPECT_EQ(parsed[i].args, c.expected[i].args);
    }
  }
}

TEST(ProgmanCommandParse, RejectsMalformedText) {
  for (const char* text : {"", "   ", "CreateGroup(\"QM2\")", "[CreateGroup(\"QM2\")", "[CreateGroup(\"QM2)]",
                           "[CreateGroup(QM2]", "[(QM2)]", "[CreateGroup(\"QM2\" x)]", "[A(B\"C)]",
                           "[CreateGroup(\"QM2\")] junk", "[CreateGroup(\"line\nbreak\")]"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(ParseProgmanCommands(text), ProgmanCommandError);
  }
}

}  // namespace
}  // namespace platform::dde
