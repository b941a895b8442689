#include <gtest/gtest.h>

#include <random>

#include "platform/profile/ini_document.h"

namespace platform {
namespace {

TEST(IniDocument, ReadsSectionsKeysAndValuesIgnoringCaseAndBlanks) {
  const IniDocument doc("top=ignored\r\n[System]\r\n  Platform = nt4 \r\n;comment=x\r\n\r\n[Drives]\r\nC=fixed,drive_c\r\n");
  EXPECT_EQ(doc.SectionNames(), (std::vector<std::string>{"System", "Drives"}));
  EXPECT_EQ(doc.KeyNames("SYSTEM"), (std::vector<std::string>{"Platform"}));
  EXPECT_EQ(doc.Get("system", "platform"), "nt4");
  EXPECT_EQ(doc.Get("drives", "c"), "fixed,drive_c");
  EXPECT_FALSE(doc.Get("system", "country"));
  EXPECT_FALSE(doc.Get("none", "x"));
  EXPECT_EQ(doc.LineEnd(), "\r\n");
}

TEST(IniDocument, SetReplacesInPlaceAppendsKeysAndSections) {
  IniDocument doc("[a]\nx=1\ny=2\n\n[b]\nz=3\n");
  EXPECT_EQ(doc.Set("A", "X", "9"), IniDocument::Change::Rewritten);
  EXPECT_EQ(doc.Set("a", "new", "4"), IniDocument::Change::Rewritten);
  EXPECT_EQ(doc.Set("b", "w", "5"), IniDocument::Change::Appended);
  EXPECT_EQ(doc.Set("c", "v", "6"), IniDocument::Change::Appended);
  EXPECT_EQ(doc.Set("c", "v", "6"), IniDocument::Change::None);
  EXPECT_EQ(doc.Text(), "[a]\nx=9\ny=2\nnew=4\n\n[b]\nz=3\nw=5\n[c]\nv=6\n");
}

TEST(IniDocument, AppendsAfterALastLineWithoutLineEnd) {
  IniDocument doc("[a]\r\nx=1");
  EXPECT_EQ(doc.Set("a", "y", "2"), IniDocument::Change::Appended);
  EXPECT_EQ(doc.Text(), "[a]\r\nx=1\r\ny=2\r\n");
}

TEST(IniDocument, RemovesKeysAndSections) {
  IniDocument doc("[a]\nx=1\ny=2\n[b]\nz=3\n");
  EXPECT_EQ(doc.RemoveKey("a", "x"), IniDocument::Change::Rewritten);
  EXPECT_EQ(doc.RemoveSection("b"), IniDocument::Change::Rewritten);
  EXPECT_EQ(doc.RemoveSection("b"), IniDocument::Change::None);
  EXPECT_EQ(doc.Text(), "[a]\ny=2\n");
}

TEST(IniDocument, OnlyTheFirstOfRepeatedSectionsCounts) {
  IniDocument doc("[a]\nx=1\n[b]\ny=2\n[A]\nx=9\nz=3\n");
  EXPECT_EQ(doc.SectionNames(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(doc.Get("a", "x"), "1");
  EXPECT_FALSE(doc.Get("a", "z"));
  EXPECT_EQ(doc.KeyNames("a"), (std::vector<std::string>{"x"}));
  // A new key joins the first one, and removing it leaves the repeat alone.
  EXPECT_EQ(doc.Set("a", "w", "4"), IniDocument::Change::Rewritten);
  EXPECT_EQ(doc.RemoveSection("a"), IniDocument::Change::Rewritten);
  EXPECT_EQ(doc.Text(), "[b]\ny=2\n[A]\nx=9\nz=3\n");
  EXPECT_EQ(doc.Get("a", "z"), "3");
}

TEST(IniDocument, KeysBeforeAnySectionAndCommentsAreNotKeys) {
  IniDocument doc("x=0\n[s]\n;x=1\n  ; y = 2\nx = 3 ; not a comment\n");
  EXPECT_EQ(doc.KeyNames("s"), (std::vector<std::string>{"x"}));
  EXPECT_EQ(doc.Get("s", "x"), "3 ; not a comment");
  // A comment is the last non-blank line: a new key goes after it, at the end.
  IniDocument commented("[s]\nx=1\n;end\n");
  EXPECT_EQ(commented.Set("s", "y", "2"), IniDocument::Change::Appended);
  EXPECT_EQ(commented.Text(), "[s]\nx=1\n;end\ny=2\n");
}

TEST(IniDocument, ALastLineEndingInACarriageReturnGetsItsLineFeed) {
  IniDocument doc("[s]\r\nx=1\r");
  EXPECT_EQ(doc.Get("s", "x"), "1");
  EXPECT_EQ(doc.Set("s", "y", "2"), IniDocument::Change::Appended);
  EXPECT_EQ(doc.Text(), "[s]\r\nx=1\r\ny=2\r\n");
  EXPECT_EQ(doc.Get("s", "x"), "1");
}

TEST(IniDocument, NamesCompareIgnoringAsciiCaseOnly) {
  // Bytes above 127 match only themselves, whatever locale the process runs in.
  IniDocument doc("[S\xC9" "CTION]\nK\xC9" "Y=1\n");
  EXPECT_EQ(doc.Get("s\xC9" "ction", "k\xC9" "y"), "1");
  EXPECT_FALSE(doc.Get("s\xE9" "ction", "k\xC9" "y"));
  EXPECT_TRUE(EqualsIgnoreCase("ABC", "abc"));
  EXPECT_FALSE(EqualsIgnoreCase("abc", "abd"));
}

// Whatever edits are made, the index kept up to date in place answers exactly
// what a fresh parse of the resulting text answers.
TEST(IniDocument, TheIncrementalIndexMatchesAFreshParse) {
  std::mt19937 random(12345);
  IniDocument doc("; log\r\n");
  const char* sections[] = {"a", "B", "c", "A", "d"};
  for (int step = 0; step < 3000; ++step) {
    const std::string section = sections[random() % 5];
    const std::string key = "k" + std::to_string(random() % 40);
    const unsigned op = random() % 20;
    if (op == 0) {
      doc.RemoveSection(section);
    } else if (op == 3) {
      // The journal's pair: a line written and at once taken back.
      doc.Set(section, "temp", "0|1|0");
      doc.RemoveKey(section, "temp");
    } else if (op < 3) {
      doc.RemoveKey(section, key);
    } else {
      doc.Set(section, key, std::to_string(step));
    }
    if (step % 50 != 0) continue;
    const IniDocument fresh(doc.Text());
    ASSERT_EQ(doc.SectionNames(), fresh.SectionNames()) << step;
    for (const std::string& name : fresh.SectionNames()) {
      ASSERT_EQ(doc.KeyNames(name), fresh.KeyNames(name)) << step;
      for (const std::string& k : fresh.KeyNames(name)) ASSERT_EQ(doc.Get(name, k), fresh.Get(name, k));
    }
    // A new key lands where it would in the fresh parse.
    IniDocument probed(doc.Text());
    doc.Set(section, "probe", "1");
    probed.Set(section, "probe", "1");
    ASSERT_EQ(doc.Text(), probed.Text()) << step;
    doc.RemoveKey(section, "probe");
  }
}

TEST(IniDocument, AppendingToTheLastSectionIsAnAppend) {
  IniDocument doc;
  EXPECT_EQ(doc.Set("Group", "a.dll", "1|1|0"), IniDocument::Change::Appended);
  std::string expected = "[Group]\r\na.dll=1|1|0\r\n";
  for (int i = 0; i < 1000; ++i) {
    const std::string key = "f" + std::to_string(i);
    const std::size_t before = doc.Text().size();
    ASSERT_EQ(doc.Set("group", key, "0|1|0"), IniDocument::Change::Appended);
    ASSERT_EQ(doc.Text().substr(before), key + "=0|1|0\r\n");
    expected += key + "=0|1|0\r\n";
  }
  EXPECT_EQ(doc.Text(), expected);
  EXPECT_EQ(doc.Get("GROUP", "F999"), "0|1|0");
  EXPECT_EQ(doc.KeyNames("group").size(), 1001u);
}

}  // namespace
}  // namespace platform
