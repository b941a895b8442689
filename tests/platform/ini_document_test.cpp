#include <gtest/gtest.h>

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

}  // namespace
}  // namespace platform
