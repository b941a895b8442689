// The profile tree: order across includes, duplicates kept, deep copies, and
// the name comparison that readers use.

#include <gtest/gtest.h>

#include <string>

#include "tests/profile/parser_test_support.h"

namespace {

using qmtest::Dump;

class ProfileTreeTest : public qmtest::ProfileFilesTest {};

TEST_F(ProfileTreeTest, OrderIsTheOrderOfReadingAcrossIncludes) {
  Write("one.ini", "[interface]\nA=1\n");
  Write("two.ini", "B=2\n[Option]\nE=5\n");
  Write("cv_setup.ini",
        "[Option]\nX=1\n#include \"one.ini\"\nC=3\n#include \"two.ini\"\n[interface]\nD=4\nD=5\n");
  const auto parsed = ParseFile("cv_setup.ini");
  EXPECT_EQ(Dump(parsed.file), "[Option] X{1}\n[interface] A{1} C{3} B{2}\n[Option] E{5}\n[interface] D{4} D{5}");
}

TEST_F(ProfileTreeTest, AFileThatCannotBeOpenedGivesAnEmptyProfile) {
  ProfileFile file("absent.ini");
  const auto diagnostics = file.Load();
  EXPECT_TRUE(file.Sections().empty());
  EXPECT_TRUE(diagnostics.errors.empty());
  EXPECT_EQ(file.FileName(), "absent.ini");
}

TEST(ProfileTreeValuesTest, FirstValueOfAKeyWithoutValuesIsEmpty) {
  const auto parsed = qmtest::ParseText("[S]\nEmpty=\nList=\na\nb\nc\n");
  const auto& keys = parsed.file.Sections().at(0).Keys();
  EXPECT_EQ(keys.at(0).FirstValue(), "");
  EXPECT_TRUE(keys.at(0).Values().empty());
  EXPECT_EQ(keys.at(1).FirstValue(), "a");
  EXPECT_EQ(keys.at(1).Values().size(), 3u);
}

TEST(ProfileTreeValuesTest, CopiesAreDeepAndIndependent) {
  auto parsed = qmtest::ParseText("[S]\nK=\na\n[T]\nL=1\n");
  ProfileFile copy = parsed.file;
  copy.AddKey("M");
  copy.AddValue("2");
  ProfileSection section = parsed.file.Sections().at(0);
  section.AddValue("b");
  ProfileKey key = section.Keys().at(0);
  key.AddValue("c");

  EXPECT_EQ(Dump(parsed.file), "[S] K{a}\n[T] L{1}");
  EXPECT_EQ(Dump(copy), "[S] K{a}\n[T] L{1} M{2}");
  EXPECT_EQ(section.Keys().at(0).Values().size(), 2u);
  EXPECT_EQ(key.Values().size(), 3u);
}

TEST(ProfileTreeValuesTest, NamesCompareFoldingOnlyTheLettersAToZ) {
  EXPECT_TRUE(ProfileNamesEqual("Option", "OPTION"));
  EXPECT_TRUE(ProfileNamesEqual("interface", "InterFace"));
  EXPECT_FALSE(ProfileNamesEqual("Option", "Options"));
  EXPECT_FALSE(ProfileNamesEqual("\xC4", "\xE4"));  // A and a with diaeresis in Latin-1
  EXPECT_FALSE(ProfileNamesEqual("[", "{"));        // 0x5B and 0x7B differ by the case bit
  EXPECT_TRUE(ProfileNamesEqual("", ""));
}

}  // namespace
